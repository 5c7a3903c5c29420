// The page viewer and the picture service together: a closing viewer gives its pages'
// memory back, and a print version that is there but unreadable is not called missing.
#include "pages/teacher.h"
#include "support/testapp.h"
#include "toolkit/image.h"
#include "toolkit/label.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

// The teacher's notes, opened as the unit page opens them, turned to their second page.
teacher &notesOnPage2(TestApp &app)
{
    app.m.pagecount = 2;
    app.m.pagename = QStringLiteral("ardovin");
    teacher &viewer = app.forms.ref<teacher>();
    viewer.Image1->setPicture(app.platform.pictures().load(QStringLiteral("wmf\\ardovina.wmf")).picture);
    viewer.Image2->setPicture(app.platform.pictures().load(QStringLiteral("wmf2\\ardovina.wmf")).picture);
    viewer.showForm();
    viewer.Label3[2].onClick(); // Next Page
    return viewer;
}

} // namespace

class TestPageMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closingViewerLetsPagesGo()
    {
        TestApp app;
        teacher &viewer = notesOnPage2(app);
        QCOMPARE_GT(app.platform.pictures().cachedBytes(), 0);
        viewer.unload();
        TestApp::settle();
        QCOMPARE(app.platform.pictures().cachedBytes(), 0);
    }

    void printWording_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("unreadable") << true
                                    << "The printed version of this page cannot be read, so it cannot be printed.";
        QTest::newRow("missing") << false << "The printed version of this page is missing, so it cannot be printed.";
    }

    void printWording()
    {
        QFETCH(bool, present);
        QFETCH(QString, message);
        TestApp app;
        if (present)
            app.writeDataFile(QStringLiteral("wmf2/ardovinb.wmf"), QByteArray("not a metafile at all"));
        else
            app.removeDataFile(QStringLiteral("wmf2/ardovinb.wmf"));
        notesOnPage2(app).Label3[0].onClick(); // Print
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown.front().text, message);
        QVERIFY(app.printer.ops.isEmpty());
    }
};

QTEST_MAIN(TestPageMemory)
#include "tst_pagememory.moc"
