#include "options/aboutbox.h"
#include "options/aboutpicture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace quillon;

class TestAboutBox final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationVersion("5.0.1"); }

    void showsPictureAndVersion()
    {
        AboutBox box;
        QCOMPARE(box.windowTitle(), QString("About"));
        QCOMPARE(AboutBox::versionText(), QString("5.0.1"));
        QVERIFY(box.versionLabel()->text().contains("5.0.1"));
        QVERIFY(!box.noticeLabel()->text().isEmpty());
        QVERIFY(!box.picture()->pixmap().isNull());
        QCOMPARE(box.okButton()->text(), QString("&OK"));
    }

    // Which catalogue is open: the folder in use, when the program gives it.
    void showsTheDataFolderInUse()
    {
        AboutBox plain;
        QVERIFY(!plain.dataFolderLabel());
        AboutBox box("/home/me/.local/share/Quillon/Quillon05", nullptr);
        QVERIFY(box.dataFolderLabel());
        QVERIFY(box.dataFolderLabel()->text().contains("/home/me/.local/share/Quillon/Quillon05"));
    }

    void versionHasThreeParts()
    {
        QCoreApplication::setApplicationVersion("7.2");
        QCOMPARE(AboutBox::versionText(), QString("7.2.0"));
        QCoreApplication::setApplicationVersion("5.0.1");
    }

    void pictureIsPainted()
    {
        const QImage image = AboutPicture::render(QSize(200, 100)).toImage();
        QCOMPARE(image.size(), QSize(200, 100));
        // Not one flat colour: the stave, quill and name are on it.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 5)
            for (int x = 0; x < image.width(); x += 5)
                colours.insert(image.pixel(x, y));
        QVERIFY(colours.size() > 20);
    }

    void centresItselfOnTheScreen()
    {
        AboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QRect screen = box.screen()->geometry();
        const QRect frame = box.frameGeometry();
        QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
    }

    void modelessBoxClosesOnAClickOnThePicture()
    {
        auto* box = new AboutBox;
        box->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<AboutBox> guard(box);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box));
        QTest::mouseClick(box->picture(), Qt::LeftButton);
        QVERIFY(!box->isVisible());
        QTRY_VERIFY(guard.isNull());
    }

    void clickOnTheBoxItselfCloses()
    {
        AboutBox box;
        box.show();
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!box.isVisible());
    }

    void modalBoxEndsOnAClick()
    {
        AboutBox box;
        // Should the click not close it, this ends the run with a result the
        // test rejects instead of hanging.
        QTimer stuck;
        stuck.setSingleShot(true);
        connect(&stuck, &QTimer::timeout, &box, [&] { box.done(42); });
        stuck.start(5000);
        QTimer::singleShot(0, &box, [&] { QTest::mouseClick(box.versionLabel(), Qt::LeftButton); });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
        QVERIFY(!box.isVisible());
        stuck.start(5000);
        QTimer::singleShot(0, &box, [&] { QTest::mouseClick(box.okButton(), Qt::LeftButton); });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
