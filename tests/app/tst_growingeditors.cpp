#include "Named.h"
#include "RecordingDesktop.h"

#include "collections/FrmCollection.h"
#include "singers/FrmAnagrafica.h"

#include <QPlainTextEdit>
#include <QTest>

// The editors past their designed size: every control stays inside the window, the memos
// take the room, and at the designed size nothing moves.
class TestGrowingEditors : public QObject
{
    Q_OBJECT
private slots:
    void grows_data();
    void grows();
};

void TestGrowingEditors::grows_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed") << QSize(1016, 713);
    QTest::newRow("1366x768") << QSize(1366, 740);
    QTest::newRow("1920x1080") << QSize(1920, 1050);
}

void TestGrowingEditors::grows()
{
    QFETCH(QSize, size);
    TempProgramFolder folder;
    RecordingDesktop desk;
    FrmCollection songs;
    FrmAnagrafica singers;
    for (WorkWindow *w : {static_cast<WorkWindow *>(&songs), static_cast<WorkWindow *>(&singers)}) {
        QHash<QWidget *, QRect> designed;
        for (QWidget *c : w->panel()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            designed.insert(c, c->geometry());
        w->show();
        w->showNormal();
        w->resize(size);
        QTRY_COMPARE(w->size(), size);
        const QRect inside = w->rect();
        for (QWidget *c : w->panel()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!c->isVisibleTo(w))
                continue;
            const QRect at(c->mapTo(w, QPoint(0, 0)), c->size());
            QVERIFY2(inside.contains(at), qPrintable(c->objectName()));
            if (size == QSize(1016, 713))
                QCOMPARE(c->geometry(), designed.value(c));
        }
        const int extra = size.width() - 1016;
        if (w == &songs) {
            auto *testo = named<QPlainTextEdit>(w, "txtTesto");
            auto *storia = named<QPlainTextEdit>(w, "txtStoria");
            QCOMPARE(testo->width(), 440 + extra / 2);
            QCOMPARE(testo->height(), 144 + size.height() - 713);
            QVERIFY(storia->x() >= testo->x() + testo->width());
            QCOMPARE(named(w, "txtTitolo")->geometry(), designed.value(named(w, "txtTitolo")));
        } else {
            QCOMPARE(named(w, "txtNote")->width(), 651 + extra);
        }
        w->hide();
    }
    VERIFY_DESKTOP_CLEAN(desk);
}

QTEST_MAIN(TestGrowingEditors)
#include "tst_growingeditors.moc"
