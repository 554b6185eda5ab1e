#pragma once

#include <QLabel>
#include <QStringList>

// One of the five drop targets: accepts files dropped from a file manager and shows a
// stretched preview of the last picture processed through it.
class DropTarget : public QLabel {
    Q_OBJECT
  public:
    DropTarget(int index, QWidget* parent = nullptr);

    int index() const { return index_; }
    void showPreview(const QImage& source);

  signals:
    void filesDropped(int index, const QStringList& paths);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    int index_;
};
