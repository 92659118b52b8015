#include "access/AccessWidgets.h"

#include "app/Look.h"
#include "app/Widgets.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace AccessWidgets {

QLabel *artwork(QWidget *parent, const QString &name, const QString &resource, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFocusPolicy(Qt::NoFocus);
    label->setPixmap(Look::svg(resource, geometry.size(), label->devicePixelRatioF()));
    return label;
}

QLineEdit *passwordField(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    field->setEchoMode(QLineEdit::Password);
    field->setFont(Look::uiFont(14, true));
    // The designed height is 22 units: no inner margins, a thin flat border.
    field->setTextMargins(2, 0, 2, 0);
    field->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; background: white; padding: 0px; }")
                             .arg(Look::kFieldBorder.name()));
    return field;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    return pushButton(parent, name, text, geometry, Look::font(QApplication::font().family()));
}

} // namespace AccessWidgets
