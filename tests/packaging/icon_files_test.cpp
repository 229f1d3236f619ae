#include "icon_files.h"
#include "meter_icon.h"
#include "windows_icon.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QXmlStreamReader>
#include <QtTest>

#include <stdexcept>

using namespace wattmeter;

namespace {

QByteArray committed(const QString& name)
{
    QFile file{QStringLiteral(WATTMETER_ICONS_DIR "/") + name};
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QImage decoded(const QByteArray& bytes)
{
    return QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32);
}

quint16 u16At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

} // namespace

class IconFilesTest : public QObject {
    Q_OBJECT

private slots:
    // The icons target rewrites the committed files; a change to the drawing
    // without it fails here.
    void committedFilesFollowTheDrawing()
    {
        for (const auto& [name, contents] : iconFiles()) {
            const QByteArray file = committed(name);
            QVERIFY2(!file.isEmpty(), qPrintable(name + " is not committed"));
            if (name.endsWith(QLatin1String(".png")))
                QVERIFY2(decoded(file) == decoded(contents), qPrintable(name + " differs"));
            else
                QVERIFY2(file == contents, qPrintable(name + " differs"));
        }

        QXmlStreamReader svg{scalableIcon()};
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    }

    void windowsIconReadsBackAsDrawn()
    {
        QByteArray bytes = windowsIcon();
        QCOMPARE(u16At(bytes, 4), 3);
        const struct {
            int size, colours, bits;
            IconColours drawing;
        } expected[] = {{32, 2, 1, IconColours::Two},
                        {32, 16, 4, IconColours::Sixteen},
                        {16, 16, 4, IconColours::Sixteen}};

        if (!QImageReader::supportedImageFormats().contains("ico"))
            QSKIP("this Qt has no ICO reader (the Windows build's has no image format plugins); "
                  "on Windows, icon_resource_check has Windows itself read the icon");
        QBuffer buffer{&bytes};
        QImageReader reader{&buffer, "ico"};
        QCOMPARE(reader.imageCount(), 3);
        for (int i = 0; i < 3; ++i) {
            const int entry = 6 + 16 * i;
            QCOMPARE(static_cast<uchar>(bytes[entry]), expected[i].size);
            QCOMPARE(static_cast<uchar>(bytes[entry + 2]), expected[i].colours);
            QCOMPARE(u16At(bytes, entry + 6), expected[i].bits);

            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            const QImage drawing = meterIconImage(expected[i].size, expected[i].drawing);
            QCOMPARE(image.size(), drawing.size());
            // A pixel of the drawing becomes, in a palette image, either
            // wholly transparent or its opaque colour.
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb read = image.pixel(x, y), drawn = drawing.pixel(x, y);
                    QCOMPARE(qAlpha(read) == 0 ? 0 : read,
                             qAlpha(drawn) < 128 ? 0 : (drawn | 0xff000000u));
                }
        }
    }

    void windowsIconRejectsWhatItCannotHold()
    {
        QImage red{16, 16, QImage::Format_ARGB32};
        red.fill(Qt::red);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 windowsIconFile({{red, twoColourPalette()}}));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 windowsIconFile({{red, {qRgb(255, 0, 0), 0, 0}}}));
        QImage huge{256, 256, QImage::Format_ARGB32};
        huge.fill(Qt::transparent);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 windowsIconFile({{huge, sixteenColourPalette()}}));
    }
};

QTEST_GUILESS_MAIN(IconFilesTest)
#include "icon_files_test.moc"
