#include "output/SongCardWindow.h"

#include "collections/FrmCollection.h"
#include "core/Text.h"
#include "report/ReportLayout.h"
#include "report/ReportTemplates.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

SongCardWindow::SongCardWindow(FrmCollection *editor, const Design &design)
    : CardPrintWindow(editor, design)
    , repScheda(report::songCardTemplate())
    , m_editor(editor)
{
}

void SongCardWindow::btnStampaClick()
{
    // Failures here are not caught: they reach the general error report and the window stays.
    const FrmCollection &e = *m_editor;
    repScheda.setOrientation(QPageLayout::Portrait);
    const std::pair<const char *, QString> values[] = {
        {"txtCollection", ctrim(e.lblNome->text())},
        {"txtAlbum", QStringLiteral("ALBUM:  ") + ctrim(e.txtAlbum->text())},
        {"txtTitolo", ctrim(e.txtTitolo->text())},
        {"txtCantante", ctrim(e.txtCantante->text())},
        {"txtAutori", ctrim(e.txtAutori->text())},
        {"txtPremi", ctrim(e.txtPremi->text())},
        {"txtGenere", ctrim(e.txtGenere->text())},
        {"txtNazione", ctrim(e.txtNazione->text())},
        {"txtAnno", ctrim(e.txtAnno->text())},
        {"txtDurata", ctrim(e.txtDurata->text())},
        {"txtCasa", ctrim(e.txtCasa->text())},
        {"txtTesto", ctrim(FrmCollection::memoText(e.txtTesto))},
        {"txtStoria", ctrim(FrmCollection::memoText(e.txtStoria))},
        {"txtNote", ctrim(e.txtNote->text())},
        {"txtMusica", ctrim(e.txtMusica->text())},
    };
    for (const auto &[name, value] : values)
        repScheda.setText(QString::fromLatin1(name), value);
    handOver(report::prepareReport(repScheda));
    accept();
}
