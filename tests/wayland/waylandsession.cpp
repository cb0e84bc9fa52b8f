#include "waylandsession.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

namespace waylandtest {

bool run(const QString &program, const QStringList &arguments, QByteArray *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool sway(const QString &command)
{
    QByteArray reply;
    if (!run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), command}, &reply))
        return false;
    for (const QJsonValue part : QJsonDocument::fromJson(reply).array())
        if (!part.toObject().value(QStringLiteral("success")).toBool())
            return false;
    return true;
}

QList<Output> outputs()
{
    QByteArray reply;
    run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"),
                                    QStringLiteral("get_outputs")},
        &reply);
    QList<Output> found;
    for (const QJsonValue value : QJsonDocument::fromJson(reply).array()) {
        const QJsonObject o = value.toObject();
        const QJsonObject r = o.value(QStringLiteral("rect")).toObject();
        if (o.value(QStringLiteral("active")).toBool())
            found.append({o.value(QStringLiteral("name")).toString(),
                          QRect(r.value("x").toInt(), r.value("y").toInt(),
                                r.value("width").toInt(), r.value("height").toInt())});
    }
    return found;
}

QRect layoutBounds()
{
    QRect bounds;
    for (const Output &o : outputs())
        bounds |= o.layout;
    return bounds;
}

static QImage grim(const QStringList &arguments)
{
    QByteArray ppm;
    if (!run(QStringLiteral("grim"), arguments + QStringList{QStringLiteral("-t"),
                                                             QStringLiteral("ppm"),
                                                             QStringLiteral("-")},
             &ppm))
        return {};
    return QImage::fromData(ppm, "PPM");
}

QImage grab(const QRect &layout)
{
    return grim({QStringLiteral("-g"), QStringLiteral("%1,%2 %3x%4")
                                           .arg(layout.x())
                                           .arg(layout.y())
                                           .arg(layout.width())
                                           .arg(layout.height())});
}

tonfang::Rgb grabPixel(QPoint layout)
{
    return rgbOf(grab(QRect(layout, QSize(1, 1))).pixel(0, 0));
}

QImage grabOutput(const QString &name)
{
    return grim({QStringLiteral("-o"), name});
}

static QString saved(const QImage &image, const QString &name)
{
    const QString path = QDir(qEnvironmentVariable("TONFANG_WAYLAND_WORK")).filePath(name);
    if (!QFileInfo::exists(path))
        image.save(path);
    return path;
}

QString quadrantPicture()
{
    // At the output's size: sharp edges where it is shown unscaled.
    QImage image(1280, 800, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const tonfang::Rgb c = quadrantColours[quadrant];
        painter.fillRect(QRect(quadrant % 2 * 640, quadrant / 2 * 400, 640, 400),
                         QColor(c.red, c.green, c.blue));
    }
    return saved(image, QStringLiteral("quadrants.png"));
}

tonfang::Rgb rgbOf(QRgb pixel)
{
    return {std::uint8_t(qRed(pixel)), std::uint8_t(qGreen(pixel)), std::uint8_t(qBlue(pixel))};
}

tonfang::Rgb pixelPatternColour(QPoint p)
{
    return {std::uint8_t(p.x() * 16), std::uint8_t(p.y() * 16),
            std::uint8_t((p.x() >> 4) * 40 + (p.y() >> 4) * 90)};
}

QString pixelPatternPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const tonfang::Rgb c = pixelPatternColour({x, y});
            image.setPixel(x, y, qRgb(c.red, c.green, c.blue));
        }
    return saved(image, QStringLiteral("pattern-%1x%2.png").arg(size.width()).arg(size.height()));
}

Pointer::Pointer()
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(TONFANG_VIRTUAL_POINTER), QStringList{});
    m_process.waitForStarted();
}

Pointer::~Pointer()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
}

bool Pointer::send(const QByteArray &command)
{
    m_process.write(command + '\n');
    return m_process.waitForReadyRead(5000) && m_process.readLine().trimmed() == "ok";
}

bool Pointer::moveTo(QPointF layout)
{
    // In sixteenths of a pixel, so that a device pixel's centre can be reached
    // at scales 1.5 and 2.
    const QRect box = layoutBounds();
    const auto at = [](double v) { return QByteArray::number(qRound(v * 16)); };
    return send("motion " + at(layout.x() - box.x()) + ' ' + at(layout.y() - box.y()) + ' '
                + at(box.width()) + ' ' + at(box.height()));
}

bool Pointer::button(int code, bool down)
{
    return send("button " + QByteArray::number(code) + (down ? " 1" : " 0"));
}

bool Pointer::click(int code)
{
    return button(code, true) && button(code, false);
}

bool typeKeys(const QStringList &keys)
{
    QStringList arguments{QStringLiteral("-s"), QStringLiteral("150")};
    for (const QString &key : keys) {
        const QString name = key.section(QLatin1Char('+'), -1);
        const bool shifted = key.startsWith(QLatin1String("shift+"));
        if (shifted)
            arguments << QStringLiteral("-M") << QStringLiteral("shift");
        arguments << QStringLiteral("-k") << name;
        if (shifted)
            arguments << QStringLiteral("-m") << QStringLiteral("shift");
    }
    return run(QStringLiteral("wtype"), arguments);
}

void startPick(QProcess &process, const QStringList &arguments, const QStringList &environment)
{
    static QTemporaryDir english;
    QFile(english.filePath(QStringLiteral("en"))).open(QIODevice::WriteOnly);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    for (const QString &change : environment)
        env.insert(change.section(QLatin1Char('='), 0, 0), change.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(english.path());
    process.start(QStringLiteral(TONFANG_ONESHOT), QStringList{QStringLiteral("--pick")} + arguments);
}

int finished(QProcess &process, QString *output, QString *error)
{
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    *output = QString::fromUtf8(process.readAllStandardOutput());
    *error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return process.exitCode();
}

bool startsOverlay(Pointer &pointer, QPoint layout, const std::function<void()> &start)
{
    const QRect around = QRect(layout - QPoint(24, 24), QSize(49, 49)) & layoutBounds();
    const QImage before = grab(around);
    if (before.isNull())
        return false;
    start();
    return QTest::qWaitFor([&] { return pointer.moveTo(layout) && grab(around) != before; },
                           20000);
}

QString hex(tonfang::Rgb rgb)
{
    return QString::asprintf("#%02X%02X%02X", rgb.red, rgb.green, rgb.blue);
}

} // namespace waylandtest
