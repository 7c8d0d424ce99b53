// Moving between characters: textbook pages on the character buttons, the textbook chooser,
// the typed character, and LoadCharacter, which switches everything to a new character.
// Also the character's facts from the store and its pinyin.
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QValidator>

#include <cstring>
#include <limits>

#include "app/kaifont.h"
#include "app/quvodlg.h"
#include "chardata/characterstore.h"
#include "chardata/choicebook.h"
#include "chardata/gbk.h"
#include "chardata/pinyintable.h"
#include "chardata/textbook.h"
#include "controls/messagebox.h"
#include "controls/mybutton.h"
#include "controls/xinfotip.h"
#include "res/stringtable.h"
#include "strokes/bhwnd.h"

namespace {

constexpr int kTypedCharacterBytes = 3;

QString ButtonTipText(const char* character) {
    const QString c = QString::fromStdString(quvo::GbkToUtf8(character).value_or(std::string()));
    return QStringLiteral("按下去\n就可以开始拼\"%1\"字了").arg(c);
}

// The typed character's box takes no more than three bytes of GBK, as the program reads it.
class GbkLengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        const auto gbk = quvo::Utf8ToGbk(input.toStdString());
        return gbk && gbk->size() <= kTypedCharacterBytes ? Acceptable : Invalid;
    }
};

}  // namespace

void CQuvoDlg::CreateInfoTip() {
    m_infoTip = new CXInfoTip();
    m_infoTip->CreateTip(this);
}

// Page n of the current textbook on the five character buttons: 1, or -1 when the textbook
// cannot be read or has no page n (the buttons then keep what they showed).
int CQuvoDlg::ShowTextbookPage(int n) {
    std::string page;
    const auto fileName = quvo::GbkToUtf8(m_bookPath);
    if (!fileName || quvo::ReadTextbookPage(*fileName, n, page) != 1) {
        return -1;
    }
    for (int i = 0; i < m_tippedButtons && i < static_cast<int>(m_charButtons.size()); ++i) {
        m_infoTip->DetachTip(m_charButtons[static_cast<std::size_t>(i)]);
    }
    m_tippedButtons = 0;
    for (const std::string& character : quvo::PickPageCharacters(page)) {
        if (m_tippedButtons >= static_cast<int>(m_charButtons.size())) {
            break;
        }
        CMyButton* button = m_charButtons[static_cast<std::size_t>(m_tippedButtons)];
        button->setText(QString::fromStdString(quvo::GbkToUtf8(character).value_or(std::string())));
        button->SetCharacter(character.c_str());
        m_infoTip->AttachTip(button, ButtonTipText(character.c_str()), m_tipIcon);
        ++m_tippedButtons;
    }
    for (int i = m_tippedButtons; i < static_cast<int>(m_charButtons.size()); ++i) {
        CMyButton* button = m_charButtons[static_cast<std::size_t>(i)];
        button->SetTipText(QString(), true);
        button->SetCharacter("");
        button->setText(QString());
    }
    return 1;
}

void CQuvoDlg::InvalidatePanel(const quvo::Rect& panel) {
    update(QRect(panel.left, panel.top, panel.Width(), panel.Height()));
}

void CQuvoDlg::OnPreviousPage() {
    if (m_textbookPosition > 0) {
        --m_textbookPosition;
        ShowTextbookPage(m_textbookPosition);
        InvalidatePanel(m_panels.bottom);
        return;
    }
    quvo::ShowMessageBox(this, quvo::LoadResString(quvo::IDS_FIRST_PAGE),
                         quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
}

// A damaged progress file can leave the page at the largest number there is; no page follows
// that one, and counting past it would overflow.
void CQuvoDlg::OnNextPage() {
    if (m_textbookPosition < std::numeric_limits<int>::max()) {
        ++m_textbookPosition;
        if (ShowTextbookPage(m_textbookPosition) != -1) {
            InvalidatePanel(m_panels.bottom);
            return;
        }
        --m_textbookPosition;
    }
    quvo::ShowMessageBox(this, quvo::LoadResString(quvo::IDS_LAST_PAGE),
                         quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
}

void CQuvoDlg::OnChooseBook() {
    CChoiceBook chooser(this);
    chooser.SetProgramFolder(m_programFolder);
    if (chooser.exec() == QDialog::Accepted && chooser.ChosenPath() != m_bookPath) {
        ChangeTextbook(chooser.ChosenPath());
    }
}

// The old textbook keeps its page in the progress file; the new one opens at its own.
void CQuvoDlg::ChangeTextbook(const std::string& path) {
    SaveProgress(m_bookPath, m_textbookPosition);
    m_bookPath = path;
    int page = 0;
    if (LookUpProgress(m_bookPath, page) != 1) {
        page = 0;
    }
    ShowTextbookPage(page);
    m_textbookPosition = page;
    InvalidatePanel(m_panels.bottom);
    InvalidatePanel(m_panels.title);
}

void CQuvoDlg::SetUpTypedCharacterBox() {
    auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(1044));
    edit->setValidator(new GbkLengthValidator(edit));
}

// Only a character the program can teach loads: double-byte, with strokes in the stroke font
// and a row in the store. Anything else empties the box and changes nothing.
void CQuvoDlg::OnTypedCharacter() {
    auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(1044));
    const std::string gbk = quvo::Utf8ToGbk(edit->text().toStdString()).value_or(std::string("?"));
    m_typedCharacter = gbk.substr(0, kTypedCharacterBytes);
    if (m_typedCharacter.empty()) {
        return;  // an empty box loads nothing
    }
    if (!CanTeach(m_typedCharacter)) {
        m_typedCharacter.clear();
        edit->clear();
        return;
    }
    char buffer[4] = {};
    std::memcpy(buffer, m_typedCharacter.data(), m_typedCharacter.size());
    LoadCharacter(buffer);
}

// A store that cannot be read does not refuse the character: loading it then says why.
bool CQuvoDlg::CanTeach(const std::string& gbk) {
    for (char byte : gbk) {
        if (!quvo::IsCharacterByte(static_cast<unsigned char>(byte))) {
            return false;
        }
    }
    const auto* b = reinterpret_cast<const unsigned char*>(gbk.data());
    if (gbk.size() != 2 || !GlyphFont().HasGlyph(static_cast<std::uint16_t>(b[0] * 256 + b[1]))) {
        return false;
    }
    return quvo::QueryCharacterStore(DataPath("hz.db"), gbk).status != quvo::StoreAnswer::kNoRow;
}

// Frees the old character and sets up the new one, then restarts what runs per character.
void CQuvoDlg::LoadCharacter(const char* text) {
    char character[sizeof m_currentChar] = {};
    std::strncpy(character, text, sizeof character - 1);
    const QRect oldPinyin = PinyinTextRect();
    FreeCharacter();
    KillTimer(kFlashTimer);
    NavigateToCharacterPage(character);
    SetUpCharacter(character);
    if (m_exitStarted) {
        return;
    }
    ScheduleHeapTrim();
    // What a new character changes: the sample, the grid with its outline, and the pinyin's
    // letters (the old ones and the new); the textbook's title below stays as it is.
    for (const quvo::Rect& panel : {m_panels.sample, m_panels.practice}) {
        InvalidatePanel(panel);
    }
    update(oldPinyin.united(PinyinTextRect()));
    if (m_demoBeforeAssembling) {
        KillTimer(kDemoTimer);
        SetTimer(kDemoTimer, m_demoSpeed);
    }
    if (m_hints) {
        SetTimer(kHintTimer, 100);
    }
    m_strokeCheck = IsDlgButtonChecked(1011) ? 1 : 0;
    m_hints = IsDlgButtonChecked(1012) ? 1 : 0;
}

// Stroke order and stroke types of the current character. A store that cannot be opened
// ends the program; a failed query keeps the stroke order the previous character left.
void CQuvoDlg::LookUpCharacter() {
    if (!m_store) {
        m_store = std::make_unique<quvo::CharacterStore>(DataPath("hz.db"));
    }
    const quvo::StoreAnswer answer = m_store->Query(m_currentChar);
    switch (answer.status) {
    case quvo::StoreAnswer::kFound:
        m_strokeOrder = answer.strokeOrder;
        m_strokeNames = answer.strokeTypes;
        break;
    case quvo::StoreAnswer::kNoRow:
        m_strokeOrder.clear();
        break;
    case quvo::StoreAnswer::kOpenFailed:
        quvo::ShowMessageBox(this, QString::fromStdString(answer.error),
                             quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
        ExitRoutine();
        break;
    case quvo::StoreAnswer::kQueryFailed:
        quvo::ShowMessageBox(this, QStringLiteral("select error"),
                             QString::fromStdString(answer.error));
        break;
    }
}

const QByteArray& CQuvoDlg::PinyinTable() {
    if (!m_pinyinTableLoaded) {
        m_pinyinTableLoaded = true;
        QFile table(QStringLiteral(":/txt/pinyin.txt"));
        if (table.open(QIODevice::ReadOnly)) {
            m_pinyinTable = table.readAll();
        }
        m_pinyinIndex = std::make_unique<quvo::PinyinIndex>(
            std::string_view(m_pinyinTable.constData(), static_cast<std::size_t>(m_pinyinTable.size())));
    }
    return m_pinyinTable;
}

// Looked up in the table's index: one pass over the table at its load instead of one per
// character.
int CQuvoDlg::LookUpPinyin() {
    PinyinTable();
    return m_pinyinIndex->LookUp(m_currentChar, m_pinyin, m_tone) ? 1 : 0;
}

namespace {
constexpr int kPinyinFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

QFont PinyinFont() {
    QFont font(QString::fromUtf16(quvo::kKaiFaceName));
    font.setPixelSize(30);
    return font;
}
}  // namespace

QString CQuvoDlg::PinyinText() const {
    const QString pinyin = QString::fromStdString(quvo::GbkToUtf8(m_pinyin).value_or(std::string()));
    const QString tone = QString::fromStdString(quvo::GbkToUtf8(m_tone).value_or(std::string()));
    return QStringLiteral("%1  %2声").arg(pinyin, tone);
}

QRect CQuvoDlg::PinyinArea() const {
    const quvo::Rect& t = m_panels.title;
    return QRect(t.left, t.top + 10, t.Width(), t.Height() - 10);
}

// Where the pinyin's letters are, so that a new character repaints only them and leaves the
// title panel's box and button alone.
QRect CQuvoDlg::PinyinTextRect() const {
    return QFontMetrics(PinyinFont()).boundingRect(PinyinArea(), kPinyinFlags, PinyinText());
}

// "ā  1声" in red KaiTi, centred in the title panel 10 pixels below its top.
void CQuvoDlg::DrawPinyin(QPainter& painter) {
    painter.save();
    painter.setFont(PinyinFont());
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(PinyinArea(), kPinyinFlags, PinyinText());
    painter.restore();
}

// The balloon tip sees every event of the dialog's windows first: hovering and clicks.
void CQuvoDlg::RelayToInfoTip(QObject* watched, QEvent* event) {
    if (m_infoTip) {
        m_infoTip->ForwardMessage(watched, event);
    }
}

void CQuvoDlg::AttachPieceTip(CBHWnd* piece) {
    m_infoTip->AttachTip(piece, QStringLiteral("鼠标点一下,\n就可以开始移动笔画哦"), m_tipIcon);
}
