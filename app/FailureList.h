#pragma once

#include <QList>
#include <QWidget>

#include "BatchDriver.h"

class QTreeWidget;

// A small window listing the files a batch could not do, each with its reason. It does not
// block its owner: the main window takes drops while it is open.
class FailureList : public QWidget {
    Q_OBJECT
  public:
    explicit FailureList(QWidget* owner);

    // Replaces the list; files are named by their full paths.
    void setFailures(const QList<BatchFailure>& failures);
    QTreeWidget* list() const { return list_; }

  private:
    QTreeWidget* list_ = nullptr;
};
