#pragma once

#include <QDialog>
#include <QTextBrowser>

// The help text box: read-only, scrolling, KaiTi, links that open in the desktop's browser.
class CMyRichEdit : public QTextBrowser {
    Q_OBJECT

public:
    explicit CMyRichEdit(QWidget* parent = nullptr);

    // "首页帮助.txt" of the current folder, one word per line. 0 when the file cannot be
    // opened (the box stays empty and nothing is said), else 1.
    int LoadHelpText();
    // The text as shown, without markup.
    QString PlainText() const { return toPlainText(); }
};

// The start-up help, shown once for a learner without progress: a picture, "请先阅读一下帮助",
// the product line, the help text and "关闭".
class CStartHelp : public QDialog {
    Q_OBJECT

public:
    explicit CStartHelp(QWidget* parent = nullptr);
    CMyRichEdit* Text() const { return m_text; }

private:
    CMyRichEdit* m_text;
};
