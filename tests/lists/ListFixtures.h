#pragma once

#include "TestFiles.h"

#include "records/SongCard.h"
#include "lists/ResultList.h"
#include "records/DiscographySong.h"
#include "records/SingerCard.h"

#include <QByteArray>
#include <QLineEdit>
#include <QTest>

// Small builders of archive files and drivers of the list windows.
namespace ListFixtures
{

inline SongCard song(const QString &titolo, const QString &cantante, const QString &album = QString(),
                     const QString &anno = QString(), const QString &genere = QString(),
                     const QString &segnala = QStringLiteral("No"))
{
    SongCard c;
    c.setText(SongCard::Titolo, titolo);
    c.setText(SongCard::Cantante, cantante);
    c.setText(SongCard::Album, album);
    c.setText(SongCard::Anno, anno);
    c.setText(SongCard::Genere, genere);
    c.setText(SongCard::Segnala, segnala);
    return c;
}

inline SingerCard singer(const QString &nome, const QString &cittadinanza, const QString &estremi,
                         const QString &iban, const QString &sesso = QString())
{
    SingerCard c;
    c.setText(SingerCard::Nome, nome);
    c.setText(SingerCard::Cittadinanza, cittadinanza);
    c.setText(SingerCard::Estremi, estremi);
    c.setText(SingerCard::Iban, iban);
    c.setText(SingerCard::Sesso, sesso);
    return c;
}

template <class Record> QByteArray file(const QList<Record> &records)
{
    QByteArray all;
    for (const Record &r : records)
        all += r.encode();
    return all;
}

// A real double-click on the row as the list shows it.
inline void doubleClickRow(ResultList *list, int row)
{
    const QRect place = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

inline void type(QLineEdit *field, const QString &text)
{
    field->setText(text);
}

} // namespace ListFixtures
