#pragma once

#include "app/Windows.h"

class Artwork;
class ClickPicture;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TextLink;

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
    // The warning of the PDF link when no program opens PDF documents.
    static const QString kNoPdfViewer;
    // Where this copy keeps its archives, as a help page tells it.
    static QString dataFolderParagraph();

    // Fills the window before it is shown.
    void setTopic(const QString &title, const QString &text);
    // The help text exactly as the opener gave it (the memo shows its line breaks as breaks).
    QString helpText() const { return m_text; }

    QWidget *shpSfondo = nullptr;
    Artwork *imgLogo = nullptr;
    QLabel *lblTitolo = nullptr;
    QPlainTextEdit *txtGuida = nullptr;
    ClickPicture *imgPDF = nullptr;
    TextLink *lnkWeb = nullptr;
    QPushButton *btnChiudi = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void lnkWebClick();
    void btnChiudiClick();

    QString m_text;
};
