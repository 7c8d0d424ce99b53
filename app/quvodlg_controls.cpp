// The controls of the main dialog's template: creation, binding and placement.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <ctime>

#include "app/quvodlg.h"
#include "controls/buttoncolours.h"
#include "controls/buttonst.h"
#include "controls/mybutton.h"
#include "controls/myslidercontrol.h"

namespace {

QString Caption(const quvo::ControlTemplate& control) {
    return QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size()));
}

}  // namespace

QWidget* CQuvoDlg::CreateControl(const quvo::ControlTemplate& control) {
    using K = quvo::ControlKind;
    const QString caption = Caption(control);
    switch (control.kind) {
    case K::Button:
        return new CButtonST(caption, this);
    case K::CheckBox:
        return new QCheckBox(caption, this);
    case K::Radio:
        return new QRadioButton(caption, this);
    case K::Slider:
        return new CMySliderControl(this);
    case K::Label:
        return new QLabel(caption, this);
    case K::GroupBox:
        return new QGroupBox(caption, this);
    case K::Edit:
        return new QLineEdit(this);
    }
    return nullptr;
}

// Creates every control of the template at its template size and binds the members.
void CQuvoDlg::CreateControls() {
    for (const quvo::ControlTemplate& control : quvo::MainDialogTemplate()) {
        QWidget* widget = CreateControl(control);
        const quvo::Size size = quvo::DialogUnitsToPixels(control.widthDlu, control.heightDlu);
        widget->resize(size.width, size.height);
        widget->setObjectName(QString::number(control.id));
        m_controls[control.id] = widget;
    }
    auto button = [this](int id) { return qobject_cast<CButtonST*>(GetDlgItem(id)); };
    m_btnExit = button(1000);
    m_btnPrevious = button(1004);
    m_btnNext = button(1005);
    m_btnChooseBook = button(1007);
    m_btnHelp = button(1008);
    m_btnDemo = button(1010);
    m_btnMusic = button(1021);
    m_btnBackground = button(1022);
    m_btnClose = button(1023);
    m_btnMinimise = button(1024);
    m_btnAssemble = button(1045);
    m_btnFullScreen = button(1046);
    m_speedSlider = qobject_cast<CMySliderControl*>(GetDlgItem(1035));
    // Labels, check boxes, radios and the group box let the picture show through; the speed
    // label keeps a solid face, and the slider draws the picture itself.
    GetDlgItem(1036)->setAutoFillBackground(true);
    ConnectControls();
}

void CQuvoDlg::ConnectControls() {
    connect(m_btnExit, &CButtonST::clicked, this, &CQuvoDlg::ExitRoutine);
    connect(m_btnClose, &CButtonST::clicked, this, &CQuvoDlg::ExitRoutine);
    connect(m_btnPrevious, &CButtonST::clicked, this, &CQuvoDlg::OnPreviousPage);
    connect(m_btnNext, &CButtonST::clicked, this, &CQuvoDlg::OnNextPage);
    connect(m_btnChooseBook, &CButtonST::clicked, this, &CQuvoDlg::OnChooseBook);
    connect(m_btnDemo, &CButtonST::clicked, this, &CQuvoDlg::OnDemoButton);
    connect(m_btnMinimise, &CButtonST::clicked, this, &QWidget::showMinimized);
    connect(m_btnAssemble, &CButtonST::clicked, this, &CQuvoDlg::OnTypedCharacter);
    connect(m_btnBackground, &CButtonST::clicked, this, [this] { ShowChoiceMenu(m_btnBackground, true); });
    connect(m_btnMusic, &CButtonST::clicked, this, [this] { ShowChoiceMenu(m_btnMusic, false); });
    connect(m_btnHelp, &CButtonST::clicked, this, &CQuvoDlg::OnHelp);
    connect(m_btnFullScreen, &CButtonST::clicked, this, &CQuvoDlg::OnFullScreen);
    SetUpTypedCharacterBox();
    ConnectOptionBoxes();
    ConnectPrinting();
}

// Computes the seven panels and moves every template control to its place; controls keep
// their template size except the two page buttons, which become 100 x 100.
void CQuvoDlg::LayOutDialog(int width, int height) {
    m_panels = quvo::ComputePanels(width, height);
    for (const auto& [id, rect] : quvo::LayOutControls(m_panels)) {
        if (QWidget* widget = GetDlgItem(id)) {
            widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
        }
    }
    CreateCharacterButtons();
    ShowTextbookPage(m_textbookPosition);
    StyleButtons();
}

namespace {

QColor ToColour(const quvo::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// Where a character button's caption (60 pixels high, centred in 100 x 100) shows its strokes.
std::vector<quvo::PolygonRegion::Span> CaptionSpans() {
    std::vector<quvo::PolygonRegion::Span> spans;
    for (int y = 20; y < 80; ++y) {
        spans.push_back({y, 20, 80});
    }
    return spans;
}

}  // namespace

// The row of character buttons in the bottom panel: 100 x 100 pixels, 10 apart, starting
// right of the previous-page button, each with colours of its own.
void CQuvoDlg::CreateCharacterButtons() {
    const std::int64_t now = std::time(nullptr);
    for (int i = 0; i < m_charButtonCount; ++i) {
        auto* button = new CMyButton(i, this);
        button->setObjectName(QString::number(3000 + i));
        button->setGeometry(110 + 110 * i, m_panels.bottom.top + 20, 100, 100);
        button->SetTextSize(60);
        button->ShowCaption(true);
        const quvo::ButtonColours colours =
            quvo::CharacterButtonColours(now, i, quvo::Backdrop(PictureUnder(CaptionSpans(), button->pos())));
        button->SetActiveBackColor(ToColour(colours.activeBack));
        button->SetActiveTextColor(ToColour(colours.activeText));
        button->SetNormalBackColor(ToColour(colours.normalBack));
        button->SetNormalTextColor(ToColour(colours.normalText));
        button->show();
        button->ResetBackground(false);
        m_charButtons.push_back(button);
        m_controls[3000 + i] = button;
    }
}

// Colours, caption size and icons of the command buttons.
void CQuvoDlg::StyleButtons() {
    const QColor grey(100, 100, 100), red(255, 0, 0), violet(100, 0, 250), blue(0, 0, 250);
    for (CButtonST* b : {m_btnExit, m_btnDemo, m_btnHelp, m_btnChooseBook, m_btnBackground}) {
        b->SetTextSize(20);
        b->SetActiveBackColor(grey);
        b->SetActiveTextColor(red);
        b->SetNormalBackColor(violet);
        b->SetNormalTextColor(blue);
    }
    for (CButtonST* b : {m_btnMusic, m_btnAssemble, m_btnFullScreen}) {
        b->SetTextSize(20);
        b->SetActiveBackColor(grey);
        b->SetActiveTextColor(red);
        b->SetNormalTextColor(violet);
        b->SetNormalBackColor(blue);
    }
    m_btnClose->ShowCaption(false);
    m_btnClose->LoadIcons(157, 0, 0);
    m_btnMinimise->ShowCaption(false);
    m_btnMinimise->LoadIcons(156, 0, 0);
    m_btnPrevious->LoadIcons(145, 0, 0);
    m_btnNext->LoadIcons(148, 0, 0);
    m_btnFullScreen->setText(QStringLiteral("全屏"));
    m_speedSlider->SetThumbColors(QColor(196, 196, 0), QColor(255, 255, 0));
}

// The button that assembles the typed character shows a short caption of its own.
void CQuvoDlg::SetAssembleButtonCaption() { m_btnAssemble->setText(QStringLiteral("拼")); }

// The page buttons show only their icons.
void CQuvoDlg::HideNavigationCaptions() {
    m_btnNext->ShowCaption(false);
    m_btnPrevious->ShowCaption(false);
}
