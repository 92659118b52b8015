#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QWidget;

// Controls shared by the login and change-password windows.
namespace AccessWidgets {

// A still picture (not a command): SVG artwork drawn at the control's size.
QLabel *artwork(QWidget *parent, const QString &name, const QString &resource, const QRect &geometry);
// A masked password field in Verdana 14 bold.
QLineEdit *passwordField(QWidget *parent, const QString &name, const QRect &geometry);
// A push button with a hand cursor.
QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);

} // namespace AccessWidgets
