#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QWidget>
#include <array>

#include "BatchDriver.h"
#include "DropTarget.h"
#include "Settings.h"

// The program's window: five drop targets with their captions and the custom size boxes on
// the size panel. Settings are loaded when it opens and saved when it closes.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(QString programFolder, QWidget* parent = nullptr);

    static QString DropTip();

    Settings& settings() { return settings_; }
    DropTarget* target(int index) const { return Resizer[static_cast<size_t>(index)]; }
    QLineEdit* customWidth() const { return Text1; }
    QLineEdit* customHeight() const { return Text2; }
    QString HeaderText() const;
    bool isBusy() const { return busy_; }
    const BatchReport& lastReport() const { return lastReport_; }

    // The drop handler: runs the batch now, or after the running one when a batch is busy.
    void Resizer_OLEDragDrop(int index, const QStringList& paths);

  signals:
    void batchFinished(const BatchReport& report);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void runBatch(int index, const QStringList& paths);
    void setBusy(bool busy);

    QString programFolder_;
    Settings settings_;
    std::array<DropTarget*, 5> Resizer{};
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QGroupBox* PanelFrame1 = nullptr;
    QString savedHeader_;
    bool busy_ = false;
    QList<QPair<int, QStringList>> pending_;
    BatchReport lastReport_;
};
