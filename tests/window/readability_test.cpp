#include "form1.h"
#include "meter_application.h"
#include "scroll_bar_part.h"
#include "text_contrast.h"

#include <QApplication>
#include <QFocusFrame>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QtMath>

#include <algorithm>
#include <cstdlib>

using namespace wattmeter;

// The window as desktops show it: under light, dark and high-contrast
// palettes and system fonts from 8 to 16 pt, set as a platform theme sets
// them, at the display scale of the run (one run per scale: QT_SCALE_FACTOR
// on Linux, the system's DPI on Windows).
// Every text must show all of its ink, and every text whose colour the meter
// picks must stand out from what it stands on. Both are read from rendered
// pixels.

namespace {

struct Scheme {
    const char* name;
    QColor window, windowText, base, text, button;
};

// The platform's own light palette is the first; the others as dark and
// high-contrast desktop schemes give them.
const Scheme schemes[] = {
    {"light", {}, {}, {}, {}, {}},
    {"dark", {49, 54, 59}, {239, 240, 241}, {35, 38, 41}, {239, 240, 241}, {49, 54, 59}},
    {"darker", {34, 32, 32}, {255, 255, 255}, {61, 61, 61}, {255, 255, 255}, {66, 66, 69}},
    {"high-contrast black", Qt::black, Qt::white, Qt::black, Qt::white, Qt::black},
    {"high-contrast white", Qt::white, Qt::black, Qt::white, Qt::black, Qt::white},
};

QPalette paletteOf(const Scheme& scheme, const QPalette& light)
{
    if (!scheme.window.isValid())
        return light;
    QPalette palette(scheme.windowText, scheme.button, scheme.button.lighter(150),
                     scheme.button.darker(150), scheme.button.darker(120), scheme.text,
                     scheme.windowText, scheme.base, scheme.window);
    palette.setColor(QPalette::ButtonText, scheme.windowText);
    return palette;
}

// A control drawn as it is, and drawn with its text transparent: the two
// differ where, and only where, the text's ink lies. A field's frame, which
// no text lies on, is left out (its width in the images' pixels): Windows'
// theme draws its corners a little differently from one drawing to the next.
struct Rendering {
    QImage shown, hidden;
    int frame = 0;
};

// The window puts its own colours back on a control whose palette changes;
// held off, so that the text can be drawn transparent.
struct PaletteChangeHold : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::PaletteChange;
    }
};

Rendering render(QWidget* control)
{
    const QPalette palette = control->palette();
    QPalette textless = palette;
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        textless.setColor(role, Qt::transparent);
    Rendering rendering{control->grab().toImage().convertToFormat(QImage::Format_RGB32), {}, 0};
    if (qobject_cast<QLineEdit*>(control))
        rendering.frame =
            qCeil(control->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, control) *
                  control->devicePixelRatioF());
    PaletteChangeHold hold;
    control->installEventFilter(&hold);
    control->setPalette(textless);
    rendering.hidden = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    control->setPalette(palette);
    control->removeEventFilter(&hold);
    return rendering;
}

// The same control with room to spare on every side, its text where it was
// relative to its box's centre or top edge.
Rendering renderWithRoom(QWidget* control)
{
    const QRect own = control->geometry();
    const QRegion mask = control->mask();
    const int room = 16;
    control->clearMask();
    control->setGeometry(own.adjusted(-room, -room, room, room));
    Rendering rendering = render(control);
    control->setGeometry(own);
    if (!mask.isEmpty())
        control->setMask(mask);
    return rendering;
}

// Calls visit(shown, hidden) for each pixel that the text changes.
template <typename Visit> void forEachInkedPixel(const Rendering& rendering, Visit visit)
{
    const int frame = rendering.frame;
    for (int y = frame; y < rendering.shown.height() - frame; ++y) {
        const auto* shown = reinterpret_cast<const QRgb*>(rendering.shown.constScanLine(y));
        const auto* hidden = reinterpret_cast<const QRgb*>(rendering.hidden.constScanLine(y));
        for (int x = frame; x < rendering.shown.width() - frame; ++x)
            if (shown[x] != hidden[x])
                visit(shown[x], hidden[x]);
    }
}

// How much the text darkens or lightens the control, summed over its pixels.
double inkSum(const Rendering& rendering)
{
    double sum = 0;
    forEachInkedPixel(rendering, [&sum](QRgb a, QRgb b) {
        sum += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                         std::abs(qBlue(a) - qBlue(b))}) /
               255.0;
    });
    return sum;
}

// The text's most strongly inked pixel, with what lies under it.
struct Ink {
    double contrast = 1;
    QColor text, under;
};

Ink strongestInk(const Rendering& rendering)
{
    Ink strongest;
    forEachInkedPixel(rendering, [&strongest](QRgb text, QRgb under) {
        if (const double contrast = contrastRatio(QColor{text}, QColor{under});
            contrast > strongest.contrast)
            strongest = {contrast, QColor{text}, QColor{under}};
    });
    return strongest;
}

// The middle colour, by lightness, of a part of a bar, in an image of the bar
// at a scale, its edges left out.
QColor partColour(const QImage& drawn, QScrollBar* scrollBar, QStyle::SubControl part)
{
    const qreal scale = drawn.devicePixelRatio();
    const QRect rect = scrollBarPart(scrollBar, part);
    const QRect pixels =
        QRect{(QRectF{rect}.topLeft() * scale).toPoint(), (QSizeF{rect.size()} * scale).toSize()}
            .adjusted(1, 1, -1, -1);
    QList<QRgb> colours;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            colours << drawn.pixel(x, y);
    std::sort(colours.begin(), colours.end(), [](QRgb a, QRgb b) { return qGray(a) < qGray(b); });
    return colours.isEmpty() ? QColor{} : QColor{colours[colours.size() / 2]};
}

// The faintest row of a bar's track, away from its thumb, against the frame
// just beside the bar.
double faintestTrackRow(QWidget* form, QScrollBar* scrollBar)
{
    const int beside = 2;
    const QRect bar{scrollBar->mapTo(form, QPoint{}), scrollBar->size()};
    const QImage drawn = form->grab(bar.adjusted(-beside, 0, 0, 0)).toImage();
    const qreal scale = drawn.devicePixelRatio();
    double faintest = 21;
    for (auto part : {QStyle::SC_ScrollBarSubPage, QStyle::SC_ScrollBarAddPage}) {
        const QRectF rect = QRectF{scrollBarPart(scrollBar, part)}.translated(beside, 0);
        const int x = qRound(rect.center().x() * scale);
        for (int y = qCeil(rect.top() * scale) + 1; y < qFloor(rect.bottom() * scale) - 1; ++y)
            faintest = std::min(
                faintest, contrastRatio(QColor{drawn.pixel(x, y)}, QColor{drawn.pixel(0, y)}));
    }
    return faintest;
}

// Whose colours the meter picks: the captions' blue, the readouts' green on
// black; the rest keep the theme's.
enum class Colours { System, BlueText, GreenOnBlack };

Colours coloursOf(QWidget* control)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->buddy() ? Colours::BlueText : Colours::System;
    const bool readout =
        QString{"txtVolts txtAmps txtWatts txtWattHours txtKwh"}.split(' ').contains(
            control->objectName());
    return readout ? Colours::GreenOnBlack : Colours::System;
}

} // namespace

class ReadabilityTest : public QObject {
    Q_OBJECT

    QPalette light;
    QFont systemFont;

private slots:
    void initTestCase()
    {
        setUpMeterApplication();
        light = QApplication::palette();
        systemFont = QApplication::font();
    }
    void cleanup()
    {
        QApplication::setPalette(light);
        QApplication::setFont(systemFont);
    }

    void everyTextIsWholeAndStandsOut_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("switchedFrom");   // -1: set before the window opens
        QTest::addColumn<bool>("toEveryWidget"); // as qt6ct switches: each widget's palette set
        for (int scheme = 0; scheme < int(std::size(schemes)); ++scheme)
            for (int points = 8; points <= 16; ++points)
                QTest::addRow("%s, %d pt", schemes[scheme].name, points)
                    << scheme << points << -1 << false;
        QTest::addRow("light to darker while running") << 2 << 10 << 0 << false;
        QTest::addRow("high-contrast black to light while running") << 0 << 10 << 3 << false;
        QTest::addRow("light to dark on every widget while running") << 1 << 10 << 0 << true;
    }

    void everyTextIsWholeAndStandsOut()
    {
        QFETCH(int, scheme);
        QFETCH(int, points);
        QFETCH(int, switchedFrom);
        QFETCH(bool, toEveryWidget);
        QFont font = systemFont;
        font.setPointSize(points);
        QApplication::setFont(font);
        QApplication::setPalette(
            paletteOf(schemes[switchedFrom < 0 ? scheme : switchedFrom], light));

        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        if (switchedFrom >= 0) {
            QTest::mouseClick(form.findChild<QPushButton*>("cmdStart"), Qt::LeftButton);
            const QPalette switched = paletteOf(schemes[scheme], light);
            QApplication::setPalette(switched);
            if (toEveryWidget) { // the window last, after the captions on it
                for (QWidget* widget : form.findChildren<QWidget*>())
                    widget->setPalette(switched);
                form.setPalette(switched);
            }
            const std::string total = form.text(Field::txtWattHours);
            QTRY_VERIFY(form.text(Field::txtWattHours) != total);
            QVERIFY(form.timerEnabled());
            form.setTimerEnabled(false);
        }
        // As long as a day at full load makes them; the repeated hour's stamp.
        const char* const readouts[] = {"250 Volts",           "200 Amps",
                                        "50000 Watts",         "1200000.000 WH",
                                        "1200.0000 Kwh",       "2026-10-25 00:30:00Z",
                                        "2026-12-08 08:00:00", "86400 Seconds"};
        for (const Field field : allFields)
            form.setText(field, readouts[static_cast<int>(field)]);
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus(); // no focus frame or cursor among the ink
        for (QWidget* widget : form.findChildren<QWidget*>())
            widget->setAttribute(Qt::WA_UnderMouse, false); // nor a hover's shade

        // Where the style draws control faces from the system's theme, not
        // from the palette, only the captions can be read under another one.
        bool themedFaces = false;
#ifdef Q_OS_WIN
        themedFaces = scheme != 0;
#endif
        QStringList faults;
        for (QWidget* widget : form.findChildren<QWidget*>()) {
            const Colours colours = coloursOf(widget);
            if (!widget->isVisible() || widget->size().isEmpty() ||
                qobject_cast<QScrollBar*>(widget) || qobject_cast<QFocusFrame*>(widget) ||
                (themedFaces && colours != Colours::BlueText))
                continue;
            const QString name = widget->objectName();
            // In the font it names or that name's stand-in: with neither
            // installed it falls to any font left, a script one even.
            const QFont font = widget->font();
            QStringList named = font.families();
            for (const QString& family : font.families())
                named += QFont::substitutes(family);
            const QString drawn = QFontInfo{font}.family();
            if ((font.resolveMask() & QFont::FamiliesResolved) &&
                !named.contains(drawn, Qt::CaseInsensitive))
                faults << QString{"%1 is drawn in %2"}.arg(name, drawn);
            // A frame's caption lies on its border, as much of the border
            // after it as before it.
            if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
                struct OptionReader : QGroupBox {
                    using QGroupBox::initStyleOption;
                };
                QStyleOptionGroupBox option;
                (frame->*&OptionReader::initStyleOption)(&option);
                const QRect caption = frame->style()->subControlRect(
                    QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
                if (frame->width() - 1 - caption.right() < caption.left())
                    faults << QString{"%1's caption reaches x = %2 of its frame's %3"}
                                  .arg(name)
                                  .arg(caption.right())
                                  .arg(frame->width());
            }
            const Rendering own = render(widget);
            const double shown = inkSum(own);
            const double whole = inkSum(renderWithRoom(widget));
            if (whole == 0 || shown < 0.98 * whole)
                faults << QString{"%1 shows %2 % of its ink"}.arg(name).arg(
                    whole == 0 ? 0 : 100 * shown / whole, 0, 'f', 1);
            if (colours == Colours::System)
                continue; // the theme's colours are the theme's business
            const Ink ink = strongestInk(own);
            // Large text needs 3:1.
            const bool large = font.pointSizeF() >= 18 || (font.bold() && font.pointSizeF() >= 14);
            if (ink.contrast < (large ? 3 : readableContrast))
                faults << QString{"%1 stands at %2:1"}.arg(name).arg(ink.contrast, 0, 'f', 2);
            // The captions keep their blue wherever it can be read, and its
            // hue elsewhere; the readouts keep their green on black.
            const QColor blue{0, 0, 255};
            const bool ownColours =
                colours == Colours::BlueText
                    ? (contrastRatio(blue, ink.under) >= readableContrast ? ink.text == blue
                                                                          : ink.text.hue() == 240)
                    : ink.text == QColor{0, 192, 0} && ink.under == Qt::black;
            if (!ownColours)
                faults << QString{"%1 is drawn in %2 on %3"}.arg(name, ink.text.name(),
                                                                 ink.under.name());
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
    }

    void theFocusAndTheThumbsStandOut_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("switchedFrom"); // -1: set before the window opens
        for (int scheme = 0; scheme < int(std::size(schemes)); ++scheme)
            QTest::addRow("%s", schemes[scheme].name) << scheme << -1;
        QTest::addRow("light to high-contrast black while running") << 3 << 0;
        QTest::addRow("dark to light while running") << 0 << 1;
    }

    // The track against the frame beside it as clearly as Fusion's light
    // one; the thumb against its track, and each focusable control focused
    // against the same unfocused, at least 3:1 (WCAG 2.1 1.4.11 and 2.4.7).
    void theFocusAndTheThumbsStandOut()
    {
        QFETCH(int, scheme);
        QFETCH(int, switchedFrom);
        QApplication::setPalette(
            paletteOf(schemes[switchedFrom < 0 ? scheme : switchedFrom], light));
        Form1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        if (switchedFrom >= 0) {
            QTest::mouseClick(form.findChild<QPushButton*>("cmdStart"), Qt::LeftButton);
            QApplication::setPalette(paletteOf(schemes[scheme], light));
            QTRY_VERIFY(form.palette().window() == QApplication::palette().window());
            form.setTimerEnabled(false);
        }
        QStringList faults;

        for (auto* scrollBar : form.findChildren<QScrollBar*>()) {
            for (int value : {scrollBar->maximum(), scrollBar->minimum()}) {
                scrollBar->setValue(value);
                if (const double track = faintestTrackRow(&form, scrollBar); track < trackContrast)
                    faults << QString{"%1's track at %2 stands at %3:1 on its frame"}
                                  .arg(scrollBar->objectName())
                                  .arg(value)
                                  .arg(track, 0, 'f', 3);
                const QImage drawn = scrollBar->grab().toImage();
                // The track on the longer side of the thumb.
                const bool above = scrollBarPart(scrollBar, QStyle::SC_ScrollBarSubPage).height() >=
                                   scrollBarPart(scrollBar, QStyle::SC_ScrollBarAddPage).height();
                const double contrast = contrastRatio(
                    partColour(drawn, scrollBar, QStyle::SC_ScrollBarSlider),
                    partColour(drawn, scrollBar,
                               above ? QStyle::SC_ScrollBarSubPage : QStyle::SC_ScrollBarAddPage));
                if (contrast < visibleContrast)
                    faults << QString{"%1's thumb at %2 stands at %3:1 on its track"}
                                  .arg(scrollBar->objectName())
                                  .arg(value)
                                  .arg(contrast, 0, 'f', 2);
            }
        }

        // The mark may lie around the control, on what it stands on.
        for (auto* control : form.findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus)
                continue;
            const QRect around =
                QRect{control->mapTo(&form, QPoint{}), control->size()}.adjusted(-4, -4, 4, 4);
            control->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), control);
            const QImage focused = form.grab(around).toImage();
            control->clearFocus();
            QTRY_VERIFY(!QApplication::focusWidget());
            const QImage unfocused = form.grab(around).toImage();
            int marked = 0;
            for (int y = 0; y < focused.height(); ++y)
                for (int x = 0; x < focused.width(); ++x)
                    marked += contrastRatio(QColor{focused.pixel(x, y)},
                                            QColor{unfocused.pixel(x, y)}) >= visibleContrast;
            const int perimeter =
                qCeil(2 * (control->width() + control->height()) * focused.devicePixelRatio());
            if (marked < perimeter)
                faults << QString{"%1's focus marks %2 pixels of %3"}
                              .arg(control->objectName())
                              .arg(marked)
                              .arg(perimeter);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
    }
};

QTEST_MAIN(ReadabilityTest)
#include "readability_test.moc"
