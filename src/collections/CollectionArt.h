#pragma once

#include "app/Look.h"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QString>
#include <QStringList>

class ClickPicture;
class QLabel;
class QRect;
class QWidget;

// Small building blocks shared by the collection windows.
namespace CollectionArt
{

inline const QColor &kSteelBlue = Look::kSteelBlue;
inline const QColor &kWindowTop = Look::kWorkTop;

// A decorative picture: no click, arrow cursor, no focus.
ClickPicture *picture(QWidget *parent, const QString &name, const QString &resource, const QRect &geometry);

// The green picture button of the catalogue windows, reading `text`.
ClickPicture *greenButton(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);

// The instructions picture: a heading and three lines of text on a light box.
ClickPicture *instructions(QWidget *parent, const QRect &geometry, const QString &heading,
                           const QStringList &lines);

} // namespace CollectionArt
