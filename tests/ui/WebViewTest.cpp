// The demonstration player in a real web view: it paints the pictures of the
// show, checked by grabbing the view and probing its pixels.

#include <QTest>

#include "UiFixture.h"
#include "player/PlayerView.h"
#include "support/QtTestMain.h"

namespace lumetra::test {

class WebViewTest : public QObject {
    Q_OBJECT

  private slots:
    void demonstrationPaintsAPicture() {
        UiFixture f("English", true);
        f.window->show();
        f.window->FormShow();
        QTRY_VERIFY_WITH_TIMEOUT(f.window->demoPlayer()->hasWebView(), 10000);
        // The start-up run: shown once the player painted its first picture.
        QTRY_VERIFY_WITH_TIMEOUT(f.window->demoPlayer()->shownSlide() >= 1, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(f.window->demoPlayerShown(), 5000);
        QTest::qWait(1500);  // the 1-second transition has ended on the beach picture
        const QImage shot = f.window->demoPlayer()->grab().toImage();
        QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(148, 104));
        // The beach picture: blue sea and sky, nowhere an empty white view.
        int blue = 0, white = 0;
        for (int y = 0; y < shot.height(); y += 4)
            for (int x = 0; x < shot.width(); x += 4) {
                const QColor c = shot.pixelColor(x, y);
                if (c.blue() > c.red() + 30) ++blue;
                if (c.red() > 245 && c.green() > 245 && c.blue() > 245) ++white;
            }
        const int samples = (shot.height() / 4) * (shot.width() / 4);
        QVERIFY2(blue > samples / 4, qPrintable(QString("blue %1 of %2").arg(blue).arg(samples)));
        QVERIFY(white < samples / 2);
    }
};

LUMETRA_QT_TEST(WebViewTest);

}  // namespace lumetra::test

#include "WebViewTest.moc"
