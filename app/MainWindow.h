#pragma once

#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QWidget>
#include <array>

#include "BatchDriver.h"
#include "DropTarget.h"
#include "OwnChoices.h"
#include "Settings.h"

class ClickLabel;
class FailureList;
class PanelFrame;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QScrollBar;
class ThemedButton;

// The program's window, `frmResizer`: the option buttons, the five drop targets with the
// custom size boxes, and a decorative picture that holds the quality, comment and help panels
// and the link to the project's page. Settings are loaded when it opens and saved when it
// closes and when the quality panel is confirmed.
//
// Every control's object name is its own name; an element of a control array carries its
// index after an underscore (ThemedButton2_1, Resizer_4).
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(QString programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    static QString DropTip();
    // The project's page behind the link in the picture.
    static QString ProjectAddress();

    Settings& settings() { return settings_; }
    OwnChoices& choices() { return choices_; }
    DropTarget* target(int index) const { return Resizer[static_cast<size_t>(index)]; }
    QLineEdit* customWidth() const { return Text1; }
    QLineEdit* customHeight() const { return Text2; }
    QString HeaderText() const;
    bool isBusy() const { return busy_; }
    const BatchReport& lastReport() const { return lastReport_; }

    // The drop handler: runs the batch now, or after the running one when a batch is busy.
    void Resizer_OLEDragDrop(int index, const QStringList& paths);
    // What a drop on a target does: returns at once and runs the drop handler right after.
    void queueDrop(int index, const QStringList& paths);

  signals:
    void batchFinished(const BatchReport& report);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Building the controls.
    void buildOptions();
    void buildSizes();
    void buildPictures();
    void buildQualityPanel();
    void buildCommentPanel();
    void buildMoreOptionsPanel();
    void buildFailureLink();
    ThemedButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                             const QString& toolTip, const QRect& geometry);
    PanelFrame* makePanel(QWidget* parent, const QString& name, const QString& header,
                          const QRect& geometry);

    // Start and end.
    void Form_Load();
    void Form_Unload();
    void restorePosition();
    void SaveSettings();

    // Option buttons.
    void ThemedButton3_Click();
    void ThemedButton4_Click();
    void ThemedButton7_Click();
    void ThemedButton2_Click(int Index);
    void btnSmooth_Click();
    void btnQualita_Click();

    // Quality and comment panels.
    void ShowQualityPanel(bool init);
    void cboSubSample_Click();
    void chkGreyscale_Click();
    void hscQuality_Change();
    void ThemedButton1_Click(int Index);
    void cmdComment_Click();

    // The "Altre opzioni" panel: our own choices, kept in "tessaro.ini".
    void btnAltreOpzioni_Click();
    void ShowMoreOptionsPanel();
    void showChoicesInPanel();
    void cmdAltreOpzioni_Click(bool keep);

    // Help panel and link.
    void ThemedButton6_Click();
    void ThemedButton5_Click();
    void LabelLink_Click();

    // While a quality or help panel is open, the drop targets and option buttons rest.
    void setOptionsEnabled(bool enabled);

    // Batches.
    void runBatch(int index, const QStringList& paths);
    void setBusy(bool busy);
    void showProgress(int done, int accepted);
    void showOutcome(const BatchReport& report);
    void setFooterNotice(const QString& shortText, const QString& fullText);
    void openOutputFolder();
    void showFailureList();
    void stopBatch();

    QString programFolder_;
    Settings settings_;
    OwnChoices choices_;  // "tessaro.ini"
    // The quality panel's copy of the settings as they were when it opened.
    Settings SavedSettings;
    // The "Altre opzioni" panel's copy of our choices as they were when it opened.
    OwnChoices SavedChoices;

    PanelFrame* PanelFrame2 = nullptr;
    ThemedButton* ThemedButton7 = nullptr;
    ThemedButton* ThemedButton6 = nullptr;
    ThemedButton* ThemedButton4 = nullptr;
    ThemedButton* ThemedButton3 = nullptr;
    std::array<ThemedButton*, 2> ThemedButton2{};
    ThemedButton* btnSmooth = nullptr;  // "Alta qualità": resize with smoothing
    ThemedButton* btnQualita = nullptr;
    ThemedButton* btnAltreOpzioni = nullptr;

    PanelFrame* PanelFrame1 = nullptr;
    std::array<DropTarget*, 5> Resizer{};
    std::array<QLabel*, 5> Label1{};
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label3 = nullptr;
    QWidget* BatchNotice = nullptr;         // carries the whole notice as tooltip and name
    ClickLabel* lnkOutputFolder = nullptr;  // opens "Elaborate" after a batch
    ClickLabel* lnkStop = nullptr;          // stops the running batch, as Esc does
    ClickLabel* lnkFailures = nullptr;      // lists the files a batch went on without
    FailureList* failureList_ = nullptr;    // made when first wanted

    QLabel* Picture3 = nullptr;
    QLabel* Picture4 = nullptr;
    ThemedButton* ThemedButton5 = nullptr;
    PanelFrame* FrameQualita = nullptr;
    QLabel* lblQuality = nullptr;
    QScrollBar* hscQuality = nullptr;
    QLabel* lblSubSample = nullptr;
    QComboBox* cboSubSample = nullptr;
    QCheckBox* chkGreyscale = nullptr;
    ThemedButton* cmdComment = nullptr;
    std::array<ThemedButton*, 4> ThemedButton1{};
    PanelFrame* frameCommento = nullptr;
    QPlainTextEdit* txtComment = nullptr;
    ClickLabel* LabelLink = nullptr;
    PanelFrame* FrameAltreOpzioni = nullptr;
    std::array<QCheckBox*, 5> chkAltre{};            // in the order of the choices' table
    std::array<ThemedButton*, 2> cmdAltreOpzioni{};  // "Annulla", "OK"

    QString savedHeader_;
    bool busy_ = false;
    bool stopRequested_ = false;
    bool closing_ = false;
    QList<QPair<int, QStringList>> pending_;
    BatchReport lastReport_;
    QString outputFolder_;
};
