#pragma once
// Tincuser: the custom step dialog. It asks for the step of one spin click as
// a number; OK gives it to all 23 spin controls of the main window and checks
// "Benutzerdefiniert..", anything that is not a number gives a step of 1.
// Created once at start-up, hidden, and shown modally from the step menu.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Tprog;

class Tincuser : public QDialog {
    Q_OBJECT
public:
    // The main window is the dialog's owner: it opens over it and sets its step.
    explicit Tincuser(Tprog &owner);

    // Shows the dialog over the main window and returns at once; while it is
    // open no other window takes input. OKClick or AbbrechenClick ends it.
    void ShowModal();

    void FormCreate();
    // Assigns the texts in the language of the language code; the language
    // commands call it again after a switch.
    void Sprache();
    // The key filter of Edit1: clears `key` for a character the field must not
    // receive.
    void Edit1KeyPress(QObject *sender, QChar &key);
    void OKClick();
    void AbbrechenClick();
    // The float text rule, under the locale's decimal separator.
    static bool IsFloat(const QString &text);

    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *OK;
    QPushButton *Abbrechen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void centreOverOwner();

    Tprog &m_owner;
};
