#include "WindowTestSupport.h"

#include "app/window/Glyphs.h"
#include "app/window/Tfrm_about.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include <cstdlib>

namespace ondrex::window {
namespace {

void TriggerMenuItem(QMainWindow& w, const QString& text) {
    for (QAction* menu : w.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (item->text() == text) item->trigger();
}

TEST_F(WindowTest, TheAboutBoxNamesTheProjectAndOpensAtTwentyTwenty) {
    w = std::make_unique<Tfrm_Ondrex>();
    w->show();
    QPoint at;
    QStringList texts;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        at = dialog->pos();
        for (QLabel* label : dialog->findChildren<QLabel*>())
            texts << label->text();
        if (const char* dir = std::getenv("ONDREX_SCREENSHOT_DIR"))
            dialog->grab().save(QString(dir) + "/about.png");
        dialog->close();
    });
    TriggerMenuItem(*w, "&About");
    EXPECT_EQ(at, QPoint(20, 20));
    EXPECT_TRUE(texts.contains("Ondrex 2000"));
    EXPECT_TRUE(texts.contains("For more information visit "));
    for (const QString& text : texts) // no maker but the project, no address but its own
        EXPECT_TRUE(text.isEmpty() || text.contains("Ondrex") ||
                    text == "For more information visit ")
            << text.toStdString();
    EXPECT_EQ(w->About().size(), QSize(375, 140));
}

TEST(Glyphs, EveryPictureIsThereWithoutAnIconTheme) {
    const QString theme = QIcon::themeName();
    QIcon::setThemeName("no-such-theme");
    QIcon::setFallbackThemeName("no-such-theme");
    for (TGlyph g : {TGlyph::Open, TGlyph::Parse, TGlyph::Find, TGlyph::Print, TGlyph::Copy,
                     TGlyph::Quit, TGlyph::Lock, TGlyph::Ok, TGlyph::Close}) {
        const QImage image = Glyph(g).pixmap(32, 32).toImage();
        ASSERT_FALSE(image.isNull());
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(ink, 40) << int(g); // a drawing, not an empty square
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(StateImage(i).size(), QSize(16, 16));
    EXPECT_EQ(DialogPicture().size(), QSize(81, 113));
    QIcon::setThemeName(theme);
}

} // namespace
} // namespace ondrex::window
