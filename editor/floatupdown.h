#pragma once
// TFloatUpDown: a spin control whose position is a real number, shown as the
// text of an attached edit field. Every step first reads the field's text (so
// typed text is the starting point), then adds the step in a queued call,
// clamps to Min..Max and writes the new text only on a real change.

#include <QWidget>


class QLineEdit;
class QToolButton;

class TFloatUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TFloatUpDown(QWidget *owner = nullptr);

    int Precision() const { return m_precision; }
    void setPrecision(int precision);
    QChar DecimalSign() const { return m_decimalSign; }
    void setDecimalSign(QChar sign);
    bool DefaultDecimalSign() const { return m_defaultDecimalSign; }
    void setDefaultDecimalSign(bool followLocale);
    QLineEdit *Associate() const { return m_associate; }
    void setAssociate(QLineEdit *field);
    double Min() const { return m_min; }
    void setMin(double min);
    double Max() const { return m_max; }
    void setMax(double max);
    double Increment() const { return m_increment; }
    void setIncrement(double increment);
    double Position() const { return m_position; }
    void setPosition(double position);

    // One arrow step up (+1) or down (-1), as a click, key or wheel turn does.
    void step(int direction);

    // The locale's decimal separator; re-read when the system announces a change.
    static QString localeDecimalSeparator();

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // Whole units of 10^-Precision, held in extended precision rather than an
    // integer type: at 13 places a step of a million is 10^19 units, beyond
    // 64 bits, and the movement of a click must not be cut to fit.
    long double units(double value) const;
    long double value(long double units) const;
    QString positionText() const;
    void ReadText();
    void WriteText();
    void applyStep(long double change);
    void followBuddyGeometry();
    void turnWheel(int angleDelta);

    int m_precision = 2;
    QChar m_decimalSign = QLatin1Char('.');
    bool m_defaultDecimalSign = true;
    QLineEdit *m_associate = nullptr;
    double m_min = 0;
    double m_max = 100;
    double m_increment = 1;
    double m_position = 0;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    int m_wheelRemainder = 0; // angle delta not yet worth a whole notch
};
