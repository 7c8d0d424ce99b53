// The controls of the main dialog's template: creation, binding and placement.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "app/quvodlg.h"

namespace {

QString Caption(const quvo::ControlTemplate& control) {
    return QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size()));
}

}  // namespace

QWidget* CQuvoDlg::CreateControl(const quvo::ControlTemplate& control) {
    using K = quvo::ControlKind;
    const QString caption = Caption(control);
    switch (control.kind) {
    case K::Button: {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        return button;
    }
    case K::CheckBox:
        return new QCheckBox(caption, this);
    case K::Radio:
        return new QRadioButton(caption, this);
    case K::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setTickPosition(QSlider::NoTicks);
        return slider;
    }
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
    auto button = [this](int id) { return qobject_cast<QPushButton*>(GetDlgItem(id)); };
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
    m_speedSlider = qobject_cast<QSlider*>(GetDlgItem(1035));
    ConnectControls();
}

void CQuvoDlg::ConnectControls() {
    connect(m_btnExit, &QPushButton::clicked, this, &CQuvoDlg::ExitRoutine);
    connect(m_btnClose, &QPushButton::clicked, this, &CQuvoDlg::ExitRoutine);
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
}

// The button that assembles the typed character shows a short caption of its own.
void CQuvoDlg::SetAssembleButtonCaption() { m_btnAssemble->setText(QStringLiteral("拼")); }
