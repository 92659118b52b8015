#pragma once

#include "app/Windows.h"

class QLabel;
class QPlainTextEdit;

// The help window: a topic title and a read-only text set by the opener, and a link to
// the user guide Guida.pdf in the program folder.
class FrmGuida : public FixedDialog
{
    Q_OBJECT
public:
    explicit FrmGuida(QWidget *owner = nullptr);
    // Creates a fresh help window with this topic, runs it modally and destroys it.
    static void showTopic(QWidget *owner, const QString &title, const QString &text);
    // Joins help paragraphs with an empty line between them ("\r\n\r\n").
    static QString joinParagraphs(const QStringList &paragraphs);

    QLabel *lblTitolo = nullptr;
    QPlainTextEdit *txtGuida = nullptr;
};
