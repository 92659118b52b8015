#pragma once

#include "lists/ListWindow.h"

// A singer's discography: the songs of Discografia_Cantante_<position>.pro in file order, an
// entry panel to add or modify one song, find in list and the printed list.
class FrmFilmografiaAttori : public ListWindow
{
    Q_OBJECT
public:
    // The discography of the singer card at `singer`, whose stage name is `name`.
    FrmFilmografiaAttori(QWidget *owner, qint64 singer, const QString &name);

    QString reportTitle() const override;

    // List panel
    QWidget *panContainer = nullptr;
    QLabel *lblTitolo = nullptr, *lblRigo01 = nullptr, *lblRigo03 = nullptr;
    QLabel *titValoreTotale = nullptr, *lblTotale = nullptr;
    QPushButton *btnAggiungi = nullptr, *btnModifica = nullptr;
    // Entry panel
    QWidget *panCosti = nullptr;
    QLabel *titIstruzioni = nullptr;
    QLineEdit *txtAnno = nullptr, *txtTitolo = nullptr, *txtGenere = nullptr, *txtAutori = nullptr,
              *txtDurata = nullptr;
    QPushButton *btnSalva = nullptr, *cmdClose = nullptr;
    QLabel *lblPosizione = nullptr, *lblFile = nullptr;

    void btnAggiungiClick();
    void btnModificaClick();
    void btnSalvaClick();
    // True while the entry panel shows a song that differs from the one added, read or saved.
    bool songChanged() const;

protected:
    void showEvent(QShowEvent *event) override;
    QStringList closingLines() const override;
    // Both Chiudi buttons: a changed song is asked about first.
    void closeList() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildListPanel();
    void buildEntryPanel();
    void FormShow();
    void showEntryPanel();
    void showListPanel();
    // The entry fields as they read now, trimmed as they are stored.
    QStringList entryTexts() const;
    bool saveSong();
    // Asks about a changed song before the window closes; false to stay.
    bool mayLeaveSong();

    qint64 m_singer;
    QString m_name;
    QStringList m_loadedSong; // the song as added, read or saved
};
