#include "app/FrmGuida.h"

#include "app/Desktop.h"

#include <QLabel>
#include <QPlainTextEdit>

FrmGuida::FrmGuida(QWidget *owner)
    : FixedDialog(owner, QStringLiteral("frmGuida"), QStringLiteral(" Guida all'utilizzo del software"),
                  QSize(670, 572), Qt::white, QColor(0xBF, 0xD8, 0xEF), QSize(642, 540))
{
    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), panel());
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    txtGuida = new QPlainTextEdit(panel());
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setReadOnly(true);
}

void FrmGuida::showTopic(QWidget *owner, const QString &title, const QString &text)
{
    FrmGuida window(owner);
    window.lblTitolo->setText(title);
    window.txtGuida->setPlainText(text);
    desktop().runModal(&window);
}

QString FrmGuida::joinParagraphs(const QStringList &paragraphs)
{
    return paragraphs.join(QStringLiteral("\r\n\r\n"));
}
