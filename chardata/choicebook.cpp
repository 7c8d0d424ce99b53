#include "chardata/choicebook.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/kaifont.h"
#include "chardata/gbk.h"
#include "chardata/textbook.h"
#include "controls/messagebox.h"
#include "res/stringtable.h"

namespace {
constexpr int kListId = 1027;
}

CChoiceBook::CChoiceBook(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("选择课本"));
    resize(320, 420);
    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(QString::number(kListId));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("选定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CChoiceBook::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CChoiceBook::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

int CChoiceBook::exec() {
    OnInitDialog();
    return QDialog::exec();
}

bool CChoiceBook::OnInitDialog() {
    if (!m_initialised) {
        m_initialised = true;
        SetUpList();
        FillList();
    }
    return true;
}

// Grid lines, whole rows selected, red KaiTi on cyan; the second column holds the path.
void CChoiceBook::SetUpList() {
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->setHorizontalHeaderLabels({QStringLiteral("书名"), QStringLiteral("位置")});
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->setColumnHidden(1, true);
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, QColor(0, 255, 255));
    palette.setColor(QPalette::Text, QColor(255, 0, 100));
    m_list->setPalette(palette);
    QFont font(QString::fromUtf16(quvo::kKaiFaceName));
    font.setPixelSize(20);
    m_list->setFont(font);
}

// The .txt files of the book folder, named without their extension. A file whose name or
// path has no GBK spelling cannot be a textbook of the program and is left out.
void CChoiceBook::FillList() {
    const auto folder = quvo::GbkToUtf8(m_folder + "/book");
    if (!folder) {
        return;
    }
    for (const quvo::TextbookEntry& entry : quvo::ListTextbooks(*folder)) {
        const auto gbkPath = quvo::Utf8ToGbk(entry.path);
        if (!gbkPath) {
            continue;
        }
        const int row = m_list->rowCount();
        m_list->insertRow(row);
        m_list->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(entry.name)));
        auto* path = new QTableWidgetItem();
        path->setData(Qt::UserRole, QByteArray::fromStdString(*gbkPath));
        m_list->setItem(row, 1, path);
    }
}

void CChoiceBook::accept() {
    const QList<QTableWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        quvo::ShowMessageBox(this, quvo::LoadResString(quvo::IDS_CHOOSE_TEXTBOOK),
                             quvo::LoadResString(quvo::IDS_PRODUCT_TITLE));
        return;
    }
    const QTableWidgetItem* path = m_list->item(selected.front()->row(), 1);
    m_chosenPath = path->data(Qt::UserRole).toByteArray().toStdString();
    QDialog::accept();
}
