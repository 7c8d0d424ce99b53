// Practice sheets on paper: the practice grid's context menu and Ctrl+P offer a sheet of the
// current character or of the page's characters, printed through the desktop's print dialog
// (which can also save a PDF file).
#include <QContextMenuEvent>
#include <QMenu>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>

#include "app/quvodlg.h"
#include "chardata/gbk.h"
#include "controls/modal.h"
#include "controls/mybutton.h"
#include "online/characterlibrary.h"
#include "sheets/sheetcontent.h"
#include "sheets/sheetpainter.h"

namespace {

std::string Utf8(const std::string& gbk) {
    return quvo::GbkToUtf8(gbk).value_or(std::string());
}

}  // namespace

void CQuvoDlg::ConnectPrinting() {
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, &CQuvoDlg::OnPrintKey);
}

void CQuvoDlg::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = event->pos();
    if (!m_pieceCarried && m_panels.practice.Contains(at.x(), at.y())) {
        ShowPrintMenu(event->globalPos());
        return;
    }
    QDialog::contextMenuEvent(event);
}

// The menu opens over the practice grid, as if it had been asked for there.
void CQuvoDlg::OnPrintKey() {
    if (m_pieceCarried) {
        return;
    }
    const quvo::Rect& grid = m_panels.practice;
    ShowPrintMenu(mapToGlobal(QPoint((grid.left + grid.right) / 2, (grid.top + grid.bottom) / 2)));
}

void CQuvoDlg::ShowPrintMenu(QPoint globalPos) {
    QMenu menu(this);
    QAction* character = menu.addAction(QStringLiteral("打印练习纸"));
    QAction* page = menu.addAction(QStringLiteral("打印本页"));
    character->setEnabled(m_strokeCount > 0);
    page->setEnabled(!PageCharacters().empty());
    menu.setActiveAction(character->isEnabled() ? character : page);
    const QAction* chosen = menu.exec(globalPos);
    if (chosen == character) {
        PrintSheet({Utf8(m_currentChar)}, {});
    } else if (chosen == page) {
        PrintSheet(PageCharacters(), quvo::PlaceText({Utf8(TextbookName()), m_textbookPosition + 1}));
    }
}

// The characters of the five buttons, UTF-8.
std::vector<std::string> CQuvoDlg::PageCharacters() const {
    std::vector<std::string> characters;
    for (int i = 0; i < m_tippedButtons && i < static_cast<int>(m_charButtons.size()); ++i) {
        const std::string c = Utf8(m_charButtons[static_cast<std::size_t>(i)]->Character());
        if (!c.empty()) {
            characters.push_back(c);
        }
    }
    return characters;
}

// Characters the store or the font do not know are left off the sheet.
void CQuvoDlg::PrintSheet(const std::vector<std::string>& characters, const std::string& title) {
    const QByteArray& table = PinyinTable();
    const quvo::CharacterLibrary library(Utf8(m_programFolder),
                                         std::string(table.constData(), static_cast<std::size_t>(table.size())));
    std::vector<std::string> unknown;
    const std::vector<quvo::SheetSection> sections{quvo::DescribeSection(library, characters, title, unknown)};
    if (sections.front().characters.empty()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(QString::fromStdString(title.empty() ? characters.front() : title));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印练习纸"));
    if (quvo::RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    const QRectF paper = printer.pageLayout().fullRect(QPageLayout::Point);
    const quvo::SheetLayout layout = quvo::LayOutSheet(quvo::SectionStrokeCounts(sections),
                                                       {"", paper.width(), paper.height()});
    quvo::PaintSheet(printer, layout, sections);
}
