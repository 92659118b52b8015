#include "collections/CollectionArt.h"

#include "app/Widgets.h"

#include <QLabel>
#include <QVBoxLayout>

namespace CollectionArt
{

ClickPicture *picture(QWidget *parent, const QString &name, const QString &resource, const QRect &geometry)
{
    auto *p = new ClickPicture(parent, name, resource, geometry);
    p->unsetCursor();
    return p;
}

ClickPicture *greenButton(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *button = new ClickPicture(parent, name, QStringLiteral(":/collections/verde.svg"), geometry);
    wordsOn(button, text, Look::uiFont(13, true), Qt::white, Qt::AlignCenter,
            QMargins(4, 0, 4, 6));
    return button;
}

ClickPicture *instructions(QWidget *parent, const QRect &geometry, const QString &heading,
                           const QStringList &lines)
{
    auto *box = picture(parent, QStringLiteral("icoIstruzioni"),
                        QStringLiteral(":/collections/istruzioni.svg"), geometry);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(26, 8, 14, 8);
    layout->setSpacing(3);
    auto add = [&](const QString &text, const QFont &f, const QColor &colour) {
        auto *label = new QLabel(text, box);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setTextFormat(Qt::PlainText);
        label->setFont(f);
        label->setWordWrap(true);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colour);
        label->setPalette(p);
        layout->addWidget(label);
    };
    add(heading, Look::uiFont(13, true), Look::kInk);
    for (const QString &line : lines)
        add(line, Look::uiFont(9, false, true), Look::kSoftInk);
    layout->addStretch(1);
    return box;
}

} // namespace CollectionArt
