#pragma once

#include <QLabel>
#include <QStringList>
#include <functional>

// One of the five drop targets: accepts files dropped from a file manager and shows a
// stretched preview of the last picture processed through it. A target also takes focus:
// Enter, Space or a double click opens a file chooser, whose files arrive exactly as a drop.
class DropTarget : public QLabel {
    Q_OBJECT
  public:
    // Asks for the pictures to resize, starting in `folder`; empty when the user cancels.
    using FileChooser = std::function<QStringList(QWidget* parent, const QString& folder)>;

    DropTarget(int index, QWidget* parent = nullptr);

    int index() const { return index_; }
    void showPreview(const QImage& source);

    // Opens the chooser and hands the chosen files on as a drop on this target.
    void chooseFiles();

    // Puts `chooser` in place of the desktop's file dialog (an empty one puts the dialog back).
    static void SetFileChooser(FileChooser chooser);
    // The tooltip's second line: the keyboard's and the chooser's way in.
    static QString ChooserHint();

  signals:
    void filesDropped(int index, const QStringList& paths);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int index_;
};
