#pragma once
// What the Wayland tests share: the compositor run_wayland.sh started (set up
// through swaymsg, with grim as the ground truth), the hand (a virtual pointer
// and wtype), background pictures and `tonfang --pick`.

#include "core/colour.h"
#include "tests/support/eventually.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

namespace waylandtest {

// Runs a program to its end: true when it exits 0.
inline bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    const bool done = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    if (output)
        *output = process.readAllStandardOutput();
    return done && process.exitCode() == 0;
}

inline QJsonValue swayReply(const QStringList &arguments)
{
    QByteArray reply;
    run(QStringLiteral("swaymsg"), QStringList{QStringLiteral("-r")} + arguments, &reply);
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}

// One sway command, such as "output HEADLESS-1 scale 2": true when it succeeded.
inline bool sway(const QString &command)
{
    const QJsonArray parts = swayReply({command}).toArray();
    return !parts.isEmpty() && std::all_of(parts.begin(), parts.end(), [](const QJsonValue &part) {
               return part["success"].toBool();
           });
}

inline QRect rectOf(const QJsonValue &node)
{
    const QJsonValue r = node["rect"];
    return {r["x"].toInt(), r["y"].toInt(), r["width"].toInt(), r["height"].toInt()};
}

// An output's place in the layout, in logical pixels; with no name, the whole layout's.
inline QRect layoutOf(const QString &name = {})
{
    QRect found;
    for (const QJsonValue output : swayReply({"-t", "get_outputs"}).toArray())
        if (output["active"].toBool() && (name.isEmpty() || output["name"].toString() == name))
            found |= rectOf(output);
    return found;
}

inline tonfang::Rgb rgbOf(QRgb p)
{
    return {std::uint8_t(qRed(p)), std::uint8_t(qGreen(p)), std::uint8_t(qBlue(p))};
}

inline QString hex(tonfang::Rgb c)
{
    return QString::asprintf("#%02X%02X%02X", c.red, c.green, c.blue);
}

// What grim reads of a rectangle of the layout, at the largest output scale:
// at an integer scale its top left pixel is the device pixel there.
inline QImage grab(const QRect &r)
{
    QByteArray ppm;
    const QString area = QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    run(QStringLiteral("grim"), {"-g", area, "-t", "ppm", "-"}, &ppm);
    return QImage::fromData(ppm, "PPM");
}

inline tonfang::Rgb grabPixel(QPoint layout)
{
    return rgbOf(grab(QRect(layout, QSize(1, 1))).pixel(0, 0));
}

// Pictures of an output's device size, for the compositor to read: four
// quadrants, whose colours have no white-space byte (the wlroots portal reads
// its pixel as text and skips those), or a colour to each pixel, unique within 16.
inline constexpr tonfang::Rgb quadrantColours[4] = {
    {0xE0, 0x30, 0x30}, {0x30, 0xC0, 0x30}, {0x30, 0x50, 0xE0}, {0xF0, 0xD0, 0x40}};
inline tonfang::Rgb patternColour(QPoint p)
{
    return {std::uint8_t(p.x() * 16), std::uint8_t(p.y() * 16), std::uint8_t(p.x() / 16 * 40 + p.y() / 16 * 90)};
}
inline QString picture(bool quadrants)
{
    QImage image(1280, 800, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const tonfang::Rgb c = quadrants ? quadrantColours[(y >= 400) * 2 + (x >= 640)] : patternColour({x, y});
            image.setPixel(x, y, qRgb(c.red, c.green, c.blue));
        }
    const QString path = QDir(qEnvironmentVariable("TONFANG_WAYLAND_WORK")).filePath(quadrants ? "q.png" : "p.png");
    image.save(path);
    return path;
}

// A virtual pointer that stays plugged in; each step returns once the compositor has it.
class Pointer {
public:
    static constexpr int leftButton = 272, rightButton = 273;
    Pointer() { m_process.start(QStringLiteral(TONFANG_VIRTUAL_POINTER), QStringList{}); }
    ~Pointer() { m_process.closeWriteChannel(), m_process.waitForFinished(5000); }
    bool moveTo(QPointF at) // in sixteenths of a pixel: a device pixel's centre at any scale
    {
        const QRect box = layoutOf();
        const auto n = [](double v) { return QByteArray::number(qRound(v * 16)); };
        return send("motion " + n(at.x() - box.x()) + ' ' + n(at.y() - box.y()) + ' ' + n(box.width()) + ' '
                    + n(box.height()));
    }
    bool button(int code, bool down) { return send("button " + QByteArray::number(code) + (down ? " 1" : " 0")); }
    bool click(int code = leftButton) { return button(code, true) && button(code, false); }

private:
    bool send(const QByteArray &command)
    {
        m_process.write(command + '\n');
        return m_process.waitForReadyRead(5000) && m_process.readLine() == "ok\n";
    }
    QProcess m_process;
};

// Key names for wtype, such as "Escape shift+Left" (Shift held over Left).
inline bool typeKeys(const QString &keys)
{
    QStringList arguments{"-s", "150"}; // without the pause a key is now and then lost
    for (const QString &key : keys.split(' '))
        arguments << (key.startsWith("shift+") ? QStringList{"-M", "shift", "-k", key.mid(6), "-m", "shift"}
                                               : QStringList{"-k", key});
    return run(QStringLiteral("wtype"), arguments);
}

// Starts `tonfang --pick` as on a desktop, with NAME=value changes to the
// environment, in a folder that selects English texts.
inline void startPick(QProcess &process, const QStringList &arguments, const QStringList &environment = {})
{
    static QTemporaryDir english;
    QFile(english.filePath(QStringLiteral("en"))).open(QIODevice::WriteOnly);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString &change : environment)
        env.insert(change.section('=', 0, 0), change.section('=', 1));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(english.path());
    process.start(QStringLiteral(TONFANG_ONESHOT), QStringList{QStringLiteral("--pick")} + arguments);
}

// Waits for its end: the exit code (-1 for none), what it printed and its own
// error lines (Qt may warn besides).
inline int finished(QProcess &process, QString *output, QString *error)
{
    if (!process.waitForFinished(20000))
        process.kill(), process.waitForFinished();
    *output = QString::fromUtf8(process.readAllStandardOutput());
    const QStringList lines = QString::fromUtf8(process.readAllStandardError()).split('\n');
    *error = lines.filter(QRegularExpression(QStringLiteral("^tonfang: "))).join('\n');
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Starts something that shows an overlay (ours, or the portal's picker) and
// waits until the screen around a layout point differs from before, moving the
// pointer there meanwhile so that the overlay learns where it is.
inline bool startsOverlay(Pointer &pointer, QPoint at, const std::function<void()> &start)
{
    const QRect around = QRect(at - QPoint(24, 24), QSize(49, 49)) & layoutOf();
    const QImage before = grab(around);
    start();
    return !before.isNull()
           && QTest::qWaitFor([&] { return pointer.moveTo(at) && grab(around) != before; }, 20000);
}

} // namespace waylandtest
