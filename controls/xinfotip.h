#pragma once

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>

// The balloon tip of the main dialog: a frameless pop-up that never takes the focus. Windows
// registered with it (the character buttons, the stroke pieces) carry a text and an icon to
// show when the pointer rests on them.
class CXInfoTip : public QWidget {
    Q_OBJECT

public:
    struct TipEntry {
        QPointer<QWidget> window;  // to tell a live window from a destroyed one at its address
        QString text;
        QIcon icon;
    };

    CXInfoTip();
    ~CXInfoTip() override;

    // Makes the pop-up, hidden, owned by `parent`.
    bool CreateTip(QWidget* parent);

    // Registers `window`, replacing what it had.
    void AttachTip(QWidget* window, const QString& text, const QIcon& icon);
    // Forgets `window`; nothing happens for one that is not registered.
    void DetachTip(QWidget* window);
    // The entry of a live registered window, or null.
    const TipEntry* FindTip(const QWidget* window) const;
    std::size_t ToolCount() const { return m_tools.size(); }

private:
    std::map<const QWidget*, TipEntry> m_tools;
};
