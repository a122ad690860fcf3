#pragma once
// The program's window: a mode bar, the preview of the last result, a
// message panel and the navy banner. Dropped files run the drop batch, which
// talks back through BatchView.
#include <QWidget>
#include <string>

#include "app/Settings.h"
#include "batch/DropBatch.h"
#include "graphics/TBitmap.h"

class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;

namespace kobalto {

class TFileDrop;

class TfrmMain : public QWidget, public BatchView {
    Q_OBJECT
public:
    struct Places {
        std::string outputFolder;  // where the batch writes; created when missing
        std::string settingsFile;  // written on close
        std::string settingsReadFile = {};  // read on show; empty: settingsFile
    };

    explicit TfrmMain(Places places, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The controls, by the names they go by in the layout.
    QFrame* pnlOut = nullptr;
    QFrame* pnlMemu = nullptr;
    QRadioButton* rbtMode1 = nullptr;
    QRadioButton* rbtMode2 = nullptr;
    QLabel* lblZoom = nullptr;
    QLineEdit* edtZoom = nullptr;
    QLabel* lblRate = nullptr;
    QLabel* imgOut = nullptr;
    QFrame* pnlMsg = nullptr;
    QLabel* lbl01 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lbl02 = nullptr;
    QLabel* lbl03 = nullptr;
    QLabel* lbl00 = nullptr;
    TFileDrop* FileDrop1 = nullptr;
    QTimer* timMsg = nullptr;

    const std::string& OutputFolder() const { return state_.outputFolder; }
    const std::string& LastOutputPath() const { return state_.lastOutputPath; }
    const TBitmap& PreviewBitmap() const { return previewBitmap_; }
    const std::string& SettingsFile() const { return settingsFile_; }

    // The drop target's handler: runs the batch over files.
    void FileDrop1FileDrop(TFileDrop* sender, int num, const QStringList& files, int x, int y);
    // Files from the command line or from a later start: the window comes
    // forward and runs them as one drop (none only brings it forward).
    void OpenFiles(const QStringList& files);
    // Fits the last result into the preview area.
    void RefreshPreview();

    // Characters the percentage box takes from the keyboard.
    static constexpr int kZoomLength = 2;

    // The percentage box's key filter: the character passes, or 0 swallows
    // it. Digits, Backspace and the other control characters pass; Enter,
    // Escape and everything else is swallowed.
    static char32_t edtZoomKeyPress(char32_t key);

    // BatchView
    bool AutomaticMode() override;
    std::string PercentText() override;
    void SetPercentText(const std::string& text) override;
    void HideMessagePanel() override;
    void SetCaption(const std::string& caption) override;
    void ShowPreview(const TBitmap& bitmap) override;
    void SetBusyCursor(bool busy) override;
    void ProcessMessages() override;
    void FileDone(const FileReport& report) override;
    void ShowWarning(const std::string& title, const std::string& text) override;

signals:
    // A file of a batch is done; its output stands at outputPath.
    void fileDone(const QString& outputPath);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void ArrangeMessagePanel();
    void CentreMessagePanel();
    void FormCreate();
    void FormShow();
    void ShowingChanged();
    void FormResize();
    bool FormCloseQuery();
    void rbtMode1Click(QRadioButton* sender);
    void timMsgTimer();
    void imgOutDblClick();
    void lbl00Click();
    bool FilterZoomKey(QKeyEvent& event);
    void RememberNormalRect();

    BatchState state_;
    TBitmap previewBitmap_;
    std::string settingsFile_;
    std::string settingsReadFile_;
    WindowRect normalRect_;
    bool shown_ = false;
};

}  // namespace kobalto
