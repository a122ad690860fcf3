// The window's controls as laid out at 96 dpi.
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "app/Fonts.h"
#include "app/TFileDrop.h"
#include "app/TextHeight.h"
#include "app/TfrmMain.h"
#include "app/WindowTexts.h"

namespace kobalto {

namespace {

constexpr int kLayoutWidth = 670;
constexpr int kLayoutHeight = 542;

QLabel* MessageLabel(QWidget* parent, const char* text, const QRect& bounds, bool visible)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(bounds);
    // The designed height; ArrangeMessagePanel gives more when the text needs it.
    label->setMinimumHeight(bounds.height());
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setVisible(visible);
    return label;
}

// The bounds were measured with the original face; a substitute face may
// need a few more pixels for the same text, which it gets instead of a cut.
void WidenToText(QWidget* control)
{
    control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
}


void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

}  // namespace

void TfrmMain::CreateControls()
{
    setWindowTitle(QString::fromUtf8(texts::kCaption));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kobalto-32.png")));
    setFont(GothicFont(12));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kLayoutWidth, kLayoutHeight);

    pnlOut = new QFrame(this);
    pnlOut->setObjectName("pnlOut");
    pnlOut->setGeometry(17, 0, 636, 504);
    pnlOut->setFrameShape(QFrame::NoFrame);
    pnlOut->setAutoFillBackground(true);

    pnlMemu = new QFrame(pnlOut);
    pnlMemu->setObjectName("pnlMemu");
    pnlMemu->setGeometry(0, 0, 636, 24);
    pnlMemu->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlMemu->setLineWidth(1);
    pnlMemu->setAutoFillBackground(true);

    rbtMode1 = new QRadioButton(QString::fromUtf8(texts::kModeAutomatic), pnlMemu);
    rbtMode1->setObjectName("rbtMode1");
    rbtMode1->setGeometry(8, 3, 129, 17);
    rbtMode1->setProperty("tag", 1);
    rbtMode1->setChecked(true);
    WidenToText(rbtMode1);

    rbtMode2 = new QRadioButton(QString::fromUtf8(texts::kModePercent), pnlMemu);
    rbtMode2->setObjectName("rbtMode2");
    rbtMode2->setGeometry(146, 3, 155, 17);
    rbtMode2->setProperty("tag", 2);
    WidenToText(rbtMode2);

    lblZoom = new QLabel(QString::fromUtf8(texts::kZoomLabel), pnlMemu);
    lblZoom->setObjectName("lblZoom");
    lblZoom->setGeometry(307, 5, 46, 12);
    lblZoom->setEnabled(false);
    WidenToText(lblZoom);

    edtZoom = new QLineEdit(pnlMemu);
    edtZoom->setObjectName("edtZoom");
    edtZoom->setGeometry(356, 3, 53, 17);
    edtZoom->setFixedHeight(17);
    edtZoom->setTextMargins(0, 0, 0, 0);
    edtZoom->setEnabled(false);
    // A paste stops at the typed length too; setText is not limited, so a
    // longer text from the settings file shows as it is.
    edtZoom->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^.{0,%1}$").arg(kZoomLength),
                           QRegularExpression::DotMatchesEverythingOption),
        edtZoom));
    edtZoom->setAttribute(Qt::WA_InputMethodEnabled, false);
    edtZoom->installEventFilter(this);

    lblRate = new QLabel(QString::fromUtf8(texts::kRateLabel), pnlMemu);
    lblRate->setObjectName("lblRate");
    lblRate->setGeometry(417, 6, 6, 12);
    lblRate->setEnabled(false);
    WidenToText(lblRate);

    imgOut = new QLabel(pnlOut);
    imgOut->setObjectName("imgOut");
    imgOut->setGeometry(0, 24, 636, 480);
    imgOut->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgOut->installEventFilter(this);

    pnlMsg = new QFrame(pnlOut);
    pnlMsg->setObjectName("pnlMsg");
    pnlMsg->setGeometry(0, 113, 636, 51);
    pnlMsg->setMinimumHeight(51);
    pnlMsg->setFrameShape(QFrame::NoFrame);
    pnlMsg->setAutoFillBackground(true);
    SetColour(pnlMsg, QPalette::Window, Qt::white);
    pnlMsg->setFont(MinchoFont(12));

    lbl01 = MessageLabel(pnlMsg, texts::kHintDoubleClick, {0, 0, 636, 12}, false);
    lbl01->setObjectName("lbl01");
    Label1 = MessageLabel(pnlMsg, "", {0, 12, 636, 7}, true);
    Label1->setObjectName("Label1");
    lbl02 = MessageLabel(pnlMsg, texts::kHintExtensions, {0, 19, 636, 21}, false);
    lbl02->setObjectName("lbl02");
    lbl03 = MessageLabel(pnlMsg, texts::kHintDrop, {0, 39, 636, 12}, false);
    lbl03->setObjectName("lbl03");
    lbl00 = MessageLabel(pnlMsg, "", {0, 40, 636, 15}, true);
    lbl00->setObjectName("lbl00");
    lbl00->setFont(MinchoFont(15));
    SetColour(lbl00, QPalette::WindowText, QColor(0, 0, 255));
    lbl00->setCursor(Qt::PointingHandCursor);
    lbl00->installEventFilter(this);
    ArrangeMessagePanel();

    setTabOrder(rbtMode1, rbtMode2);
    setTabOrder(rbtMode2, edtZoom);

    FileDrop1 = new TFileDrop(this);
    FileDrop1->setObjectName("FileDrop1");
    FileDrop1->OnFileDrop = [this](TFileDrop* sender, int num, const QStringList& files, int x, int y) {
        FileDrop1FileDrop(sender, num, files, x, y);
    };

    timMsg = new QTimer(this);
    timMsg->setObjectName("timMsg");
    timMsg->setInterval(5000);
    connect(timMsg, &QTimer::timeout, this, &TfrmMain::timMsgTimer);
    for (QRadioButton* button : {rbtMode1, rbtMode2})
        connect(button, &QRadioButton::toggled, this, [this, button](bool on) {
            if (on)
                rbtMode1Click(button);
        });
}

// The message panel's labels: the visible top-aligned ones stack from the
// top, lbl03 sits on the bottom and lbl00 takes what is left. A label keeps
// its designed height unless its text inks lower in the face found here;
// then the label and the panel grow instead of cutting a line off.
void TfrmMain::ArrangeMessagePanel()
{
    const int width = pnlMsg->width();
    int top = 0;
    // The stacked labels' boxes may overlap lbl03 by a row or two; their ink
    // may not.
    int inkBottom = 0;
    for (QLabel* label : {lbl01, Label1, lbl02}) {
        if (label->isHidden())
            continue;
        const int ink = InkedTextHeight(*label);
        const int height = std::max(label->minimumHeight(), ink);
        label->setGeometry(0, top, width, height);
        inkBottom = std::max(inkBottom, top + ink);
        top += height;
    }
    const int bottomHeight = lbl03->isHidden() ? 0 : std::max(lbl03->minimumHeight(), InkedTextHeight(*lbl03));
    const int introBottom = lbl00->isHidden() ? 0 : top + InkedTextHeight(*lbl00);
    const int height = std::max({pnlMsg->minimumHeight(), inkBottom + bottomHeight, introBottom + bottomHeight});
    if (height != pnlMsg->height()) {
        pnlMsg->resize(width, height);
        CentreMessagePanel();
    }
    if (!lbl03->isHidden())
        lbl03->setGeometry(0, height - bottomHeight, width, bottomHeight);
    lbl00->setGeometry(0, top, width, std::max(0, height - bottomHeight - top));
}

}  // namespace kobalto
