#include "controls/starthelp.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "chardata/gbk.h"
#include "controls/helptext.h"
#include "res/stringtable.h"

namespace {

// Dialog units of the dialog's font (8-point MS Shell Dlg: base units 6 x 13) to pixels.
QRect FromDialogUnits(int x, int y, int w, int h) {
    auto px = [](int v, int base, int div) { return (v * base + div / 2) / div; };
    return QRect(px(x, 6, 4), px(y, 13, 8), px(w, 6, 4), px(h, 13, 8));
}

// The lines as HTML, with every web address a link.
QString WithLinks(const QString& text) {
    static const QRegularExpression address(QStringLiteral(R"((https?://|www\.)[^\s<]+)"));
    QStringList html;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString escaped = line.toHtmlEscaped();
        const auto found = address.match(escaped);
        if (found.hasMatch()) {
            const QString url = found.captured(0);
            const QString href = url.startsWith(QStringLiteral("www.")) ? QStringLiteral("http://") + url : url;
            escaped.replace(found.capturedStart(), found.capturedLength(),
                            QStringLiteral("<a href=\"%1\">%2</a>").arg(href, url));
        }
        html << escaped;
    }
    return html.join(QStringLiteral("<br>"));
}

}  // namespace

CMyRichEdit::CMyRichEdit(QWidget* parent) : QTextBrowser(parent) {
    setReadOnly(true);
    setOpenExternalLinks(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

int CMyRichEdit::LoadHelpText() {
    QFile file(QStringLiteral("首页帮助.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    setPalette(colours);
    QFont kai(QStringLiteral("楷体_GB2312"));
    kai.setPixelSize(20);
    setFont(kai);
    const QByteArray bytes = file.readAll();
    const std::string text = quvo::HelpTextFromFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    setHtml(WithLinks(QString::fromStdString(quvo::GbkToUtf8(text).value_or(std::string()))));
    return 1;
}

CStartHelp::CStartHelp(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setModal(true);
    setFixedSize(FromDialogUnits(0, 0, 261, 169).size());
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/icon134.png")));
    picture->setGeometry(FromDialogUnits(7, 7, 21, 19));
    auto* title = new QLabel(QStringLiteral("请先阅读一下帮助"), this);
    title->setGeometry(FromDialogUnits(78, 16, 65, 8));
    auto* product = new QLabel(quvo::LoadResString(quvo::IDS_PRODUCT_TITLE), this);
    product->setGeometry(FromDialogUnits(144, 15, 110, 8));
    m_text = new CMyRichEdit(this);
    m_text->setObjectName(QStringLiteral("1026"));
    m_text->setGeometry(FromDialogUnits(7, 27, 247, 118));
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setGeometry(FromDialogUnits(107, 147, 50, 14));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    setStyleSheet(QStringLiteral("CStartHelp { border: 2px solid palette(dark); }"));
    m_text->LoadHelpText();
}
