#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>

// A push button drawn by the program: the dialog's background picture shows through its face,
// an optional icon sits left of (or, without caption, in the middle of) a KaiTi caption, and
// caption colour and border follow hover and press.
class CButtonST : public QPushButton {
    Q_OBJECT

public:
    explicit CButtonST(QWidget* parent = nullptr);
    CButtonST(const QString& text, QWidget* parent);

    // normal = active when null. The icon size is the active icon's own size, one byte each.
    void AssignIcons(const QIcon& active, const QIcon& normal = QIcon());
    // Icons from the program's resources by number; size 0 = the picture's own size.
    void LoadIcons(int activeId, int normalId, int size);

    void SetNormalBackColor(const QColor& colour, bool repaint = true);
    void SetNormalTextColor(const QColor& colour, bool repaint = true);
    const QColor& NormalTextColor() const { return m_normalText; }
    void SetActiveBackColor(const QColor& colour, bool repaint = true);
    void SetActiveTextColor(const QColor& colour, bool repaint = true);
    void ShowCaption(bool show);
    void SetTextSize(int height) { m_textSize = height; }
    // Forgets the captured background, so that the next paint captures the new picture.
    void ResetBackground(bool repaint);
    void SetTipText(const QString& text, bool activate);

    bool IsHovered() const { return m_hover; }
    bool HasBackgroundCache() const { return !m_backgroundCache.isNull(); }
    QSize IconSize() const { return {m_iconWidth, m_iconHeight}; }
    QColor TextColour() const;

    // Where the icon and the caption go for the current state, in button coordinates.
    QRect IconRect() const;
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void CaptureBackground();
    void DrawBorder(QPainter& painter) const;
    bool IsActive() const { return m_hover || isDown(); }

    bool m_showCaption = true;
    bool m_hover = false;
    QIcon m_activeIcon;
    QIcon m_normalIcon;
    int m_iconWidth = 0;
    int m_iconHeight = 0;
    QPixmap m_backgroundCache;
    QColor m_normalBack;
    QColor m_normalText;
    QColor m_activeBack;
    QColor m_activeText;
    int m_textSize = 10;
};
