#pragma once
// The software overview on the help windows' Software page: the maker's
// programs in rows of icon, name and description inside a scroll box, German
// (TFrame1) or English (TFrame2). A click on an icon opens the program's page;
// the icon's tooltip shows where it leads.
//
// The box scrolls 10 pixels per wheel step, and a pointer moving over it gives
// it the keyboard focus, so that the arrow keys scroll it as well.

#include <QFrame>

class QAbstractButton;
class QLabel;
class QScrollArea;
class QScrollBar;

class SoftwareFrame : public QFrame {
    Q_OBJECT
public:
    static constexpr int wheelStep = 10;  // pixels per wheel step
    static constexpr QSize contentsSize{481, 890};

    QScrollArea *scrollBox() const { return m_box; }

    // Open a label's address or an icon's tooltip, marked as coming from the help.
    void BrowseToCaption(const QLabel *label);
    void BrowseToHint(const QAbstractButton *button);

protected:
    SoftwareFrame(bool german, const char *frameName, const char *boxName, QPoint addressAt,
                  QWidget *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;

    void focusScrollBox();
    void scrollDown();
    void scrollUp();

    QScrollArea *m_box;

private:
    QScrollBar *verticalBar() const;
    void watchPointer(QWidget *widget);

    QWidget *m_contents;
    int m_wheelRemainder = 0;
};

class TFrame1 : public SoftwareFrame {
    Q_OBJECT
public:
    explicit TFrame1(QWidget *parent = nullptr);

    QScrollArea *const ScrollBox1;

    void ScrollBox1MouseMove() { focusScrollBox(); }
    void ScrollBox1MouseWheelDown() { scrollDown(); }
    void ScrollBox1MouseWheelUp() { scrollUp(); }
};

class TFrame2 : public SoftwareFrame {
    Q_OBJECT
public:
    explicit TFrame2(QWidget *parent = nullptr);

    QScrollArea *const ScrollBox2;

    void ScrollBox2MouseMove() { focusScrollBox(); }
    void ScrollBox2MouseWheelDown() { scrollDown(); }
    void ScrollBox2MouseWheelUp() { scrollUp(); }
};
