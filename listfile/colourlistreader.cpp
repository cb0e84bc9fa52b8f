#include "listfile/colourlistreader.h"

#include "core/numbertext.h"
#include "listfile/fileaccess.h"
#include "listfile/textencoding.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <optional>
#include <string>

#include <iconv.h>

namespace tonfang {

namespace {

constexpr qsizetype colourLineLength = 6;
constexpr char16_t carriageReturn = u'\r';
constexpr char16_t lineFeed = u'\n';

// How many bytes a UTF-8 sequence takes by its first byte; 1 for a byte that
// begins none (decoded as one replacement character).
qsizetype utf8SequenceLength(unsigned char first)
{
    if (first >= 0xC0 && first < 0xE0)
        return 2;
    if (first >= 0xE0 && first < 0xF0)
        return 3;
    if (first >= 0xF0 && first < 0xF8)
        return 4;
    return 1;
}

// Where UTF-8 bytes may be cut so that decoding the two parts one after the
// other gives exactly what decoding them at once gives: before a sequence that
// the bytes cut off may still complete. Qt's decoder takes a byte that is no
// continuation byte (10xxxxxx) always as the start of a new sequence, whatever
// stood before it; so cutting before one changes nothing, and a sequence that
// is cut short at the end of the bytes is held back for the next ones.
qsizetype utf8Cut(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, size); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) != 0x80)
            return utf8SequenceLength(byte) > back ? size - back : size;
    }
    return size;
}

// The text of a file's bytes after its mark, decoded read by read. However the
// bytes are divided, the text is exactly that of decoding them all at once.
class StreamingTextDecoder {
public:
    explicit StreamingTextDecoder(TextEncoding encoding)
        : m_encoding(encoding)
    {
        if (m_encoding == TextEncoding::Utf7)
            m_utf7 = openUtf7Converter();
    }

    // Whether decoding can still make the whole text void or fail: a broken
    // UTF-8 sequence or malformed UTF-7 anywhere.
    bool canFailLater() const { return m_encoding == TextEncoding::Utf8 || m_encoding == TextEncoding::Utf7; }
    // UTF-8 and the locale's encoding: ASCII bytes are their own text.
    bool passesAscii() const { return m_encoding == TextEncoding::Utf8 || m_encoding == TextEncoding::Ansi; }
    // Bytes of a unit or sequence that the next bytes complete.
    bool holdsBytes() const { return !m_held.isEmpty(); }
    // UTF-8 with a broken sequence: the whole text is empty.
    bool textIsVoid() const { return m_encoding == TextEncoding::Utf8 && m_utf8.hasError(); }

    // Decodes the next bytes into `text` (replacing what it held): the text
    // they complete. Throws FileError for malformed UTF-7.
    void decode(QByteArrayView bytes, QString &text)
    {
        QByteArrayView whole = bytes;
        if (!m_held.isEmpty()) {
            m_joined.truncate(0);
            m_joined.append(m_held).append(bytes);
            whole = m_joined;
        }
        const qsizetype used = decodeWhole(whole, text);
        m_held = whole.sliced(used).toByteArray();
    }

    // The end of the bytes: the text of what was held back.
    void finish(QString &text)
    {
        text.truncate(0);
        switch (m_encoding) {
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
        case TextEncoding::Utf32LE:
        case TextEncoding::Utf32BE:
            return; // a final odd byte, or a part of a unit, is dropped
        case TextEncoding::Utf7: {
            // Bytes iconv would not take are an incomplete sequence at the end.
            if (!m_held.isEmpty())
                throw invalidUtf7Error();
            std::array<char16_t, 4> shiftOut{};
            char *out = reinterpret_cast<char *>(shiftOut.data());
            std::size_t outLeft = sizeof shiftOut;
            if (iconv(m_utf7.get(), nullptr, nullptr, &out, &outLeft) == std::size_t(-1))
                throw invalidUtf7Error();
            text.append(reinterpret_cast<const QChar *>(shiftOut.data()),
                        (sizeof shiftOut - outLeft) / sizeof(char16_t));
            return;
        }
        default:
            decodeUtf8(m_held, text);
        }
    }

private:
    // Decodes as much of the bytes as can be; returns how many were used.
    qsizetype decodeWhole(QByteArrayView bytes, QString &text)
    {
        switch (m_encoding) {
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            return decodeUtf16(bytes, m_encoding == TextEncoding::Utf16BE, text);
        case TextEncoding::Utf32LE:
        case TextEncoding::Utf32BE:
            return decodeUtf32(bytes, m_encoding == TextEncoding::Utf32BE, text);
        case TextEncoding::Utf7:
            return decodeUtf7(bytes, text);
        default: {
            const qsizetype cut = utf8Cut(bytes);
            decodeUtf8(bytes.first(cut), text);
            return cut;
        }
        }
    }

    // UTF-8, and the locale's encoding, which Qt 6 takes to be UTF-8 on every
    // Unix system, whatever the locale says (QStringConverter::System decodes
    // "\xC3\xA4" as U+00E4 under LC_ALL=C too). The flags are those of the
    // whole-file decoding; a mark is converted, not dropped, since a later piece
    // may begin with one (and a locale-encoded text cannot begin with one: it
    // would have been taken for UTF-8).
    void decodeUtf8(QByteArrayView bytes, QString &text)
    {
        text.resize(m_utf8.requiredSpace(bytes.size()));
        const QChar *end = m_utf8.appendToBuffer(text.data(), bytes);
        text.truncate(end - text.constData());
    }

    // RFC 2152 through the C library's converter, which keeps its shift state
    // from one call to the next.
    qsizetype decodeUtf7(QByteArrayView bytes, QString &text)
    {
        // One UTF-16 unit per byte, and one held over, mostly suffice.
        text.resize(bytes.size() + 2);
        char *in = const_cast<char *>(bytes.data());
        std::size_t inLeft = std::size_t(bytes.size());
        qsizetype written = 0;
        while (inLeft > 0) {
            char *begin = reinterpret_cast<char *>(text.data() + written);
            char *out = begin;
            std::size_t outLeft = std::size_t(text.size() - written) * sizeof(char16_t);
            const bool done = iconv(m_utf7.get(), &in, &inLeft, &out, &outLeft) != std::size_t(-1);
            const int reason = errno;
            written += (out - begin) / qsizetype(sizeof(char16_t));
            if (done)
                break;
            if (reason == E2BIG)
                text.resize(2 * text.size());
            else if (reason == EINVAL)
                break; // an incomplete sequence at the end: held for the next bytes
            else
                throw invalidUtf7Error();
        }
        text.truncate(written);
        return bytes.size() - qsizetype(inLeft);
    }

    TextEncoding m_encoding;
    QStringDecoder m_utf8{m_encoding == TextEncoding::Utf8 ? QStringConverter::Utf8 : QStringConverter::System,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom};
    Utf7Converter m_utf7;
    QByteArray m_held;   // the bytes of a unit or sequence that the next bytes complete
    QByteArray m_joined; // the held bytes and the next ones, when some were held
};

// The value of each hex digit among the first 256 units, -1 for every other.
constexpr std::array<std::int8_t, 256> hexDigitValues = [] {
    std::array<std::int8_t, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[std::size_t(c)] = std::int8_t(c >= '0' && c <= '9'   ? c - '0'
                                             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                                    : -1);
    return values;
}();

// Six units (or ASCII bytes) that are hex digits, the way nearly every colour
// line is, as a colour number, without building a text per pair; nothing for
// any others.
template <typename Unit>
std::optional<ColourNumber> colourOfHexDigits(const Unit *units)
{
    std::array<int, colourLineLength> digits{};
    for (qsizetype i = 0; i < colourLineLength; ++i) {
        const auto unit = std::make_unsigned_t<Unit>(units[i]);
        digits[std::size_t(i)] = unit < 256 ? hexDigitValues[unit] : -1;
    }
    if ((digits[0] | digits[1] | digits[2] | digits[3] | digits[4] | digits[5]) < 0)
        return std::nullopt;
    // Red is the first pair and the lowest byte; in a pair the first digit is high.
    return (digits[0] << 4 | digits[1]) | (digits[2] << 4 | digits[3]) << 8
           | (digits[4] << 4 | digits[5]) << 16;
}

// The value of every two bytes that are two hex digits, first digit high, by
// the bytes read as a little-endian 16-bit number; -1 for all other pairs.
const std::array<std::int16_t, 65536> &hexPairValues()
{
    static const auto values = [] {
        auto table = std::make_unique<std::array<std::int16_t, 65536>>();
        for (unsigned pair = 0; pair < 65536; ++pair) {
            const int high = hexDigitValues[pair & 0xFF], low = hexDigitValues[pair >> 8];
            (*table)[pair] = std::int16_t(high < 0 || low < 0 ? -1 : high << 4 | low);
        }
        return table;
    }();
    return *values;
}

// Eight bytes that are a colour line of six hex digits and CR LF, as a colour
// number; nothing for any other bytes. A pair at a time: the way nearly every
// line of a file is read, so it must cost next to nothing.
std::optional<ColourNumber> colourOfHexLine(const char *line, const std::array<std::int16_t, 65536> &pairs)
{
    const std::uint64_t bytes = qFromLittleEndian<std::uint64_t>(line);
    const int red = pairs[bytes & 0xFFFF], green = pairs[(bytes >> 16) & 0xFFFF],
              blue = pairs[(bytes >> 32) & 0xFFFF];
    if ((bytes >> 48) != 0x0A0D || (red | green | blue) < 0)
        return std::nullopt;
    return red | green << 8 | blue << 16;
}

// What the locale's encoding makes of a piece of the text: to it and back, as
// the whole text always went before it was split. The round trip turns each
// unpaired surrogate into one U+FFFD and drops a U+FEFF at the very start of the
// text (taken for a mark), and changes nothing else; so a piece's length
// changes only by that first U+FEFF. Done piece by piece with the CR LF that
// ends it, it gives what it gives for the whole text: after an ASCII unit
// neither direction holds anything back, and a surrogate's neighbour across a
// cut is that CR LF, in the piece as in the whole. A pure ASCII piece passes
// unchanged.
QString throughLocaleEncoding(QStringView piece, bool startsText, bool endsWithLineEnd)
{
    QString text = piece.toString();
    if (endsWithLineEnd)
        text.append(u"\r\n");
    QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    QStringDecoder decoder(QStringConverter::System,
                           startsText ? QStringConverter::Flag::Stateless
                                      : QStringConverter::Flag::Stateless
                                            | QStringConverter::Flag::ConvertInitialBom);
    text = decoder.decode(encoder.encode(text));
    if (endsWithLineEnd)
        text.chop(2);
    return text;
}

// Splits the text at CR LF as it comes and turns the pieces that are colour
// lines into colours, handed over in blocks. A piece is kept only while it may
// still be one: a longer piece costs nothing, however long it grows.
class ColourLineCollector {
public:
    ColourLineCollector(const ColourListReadHooks &hooks, const ColourListReadOptions &options)
        : m_deliver(hooks.deliver)
        , m_blockEntries(std::max<std::size_t>(1, options.blockEntries))
        , m_maxEntries(options.maxEntries)
    {
    }

    // Whether colours are still being taken: no bad line and not too many.
    bool collecting() const { return !m_badLine && !m_tooMany; }
    bool tooMany() const { return m_tooMany; }
    std::exception_ptr badLine() const { return m_badLine; }

    // The next part of the text.
    void take(QStringView text)
    {
        qsizetype from = 0;
        if (m_carriageReturnPending && !text.isEmpty()) {
            m_carriageReturnPending = false;
            if (text.front() == lineFeed) {
                endPiece(true);
                from = 1;
            } else {
                extendPiece(QStringView(&carriageReturn, 1));
            }
        }
        const char16_t *const units = text.utf16();
        while (from < text.size() && collecting()) {
            // The usual line, six hex digits and CR LF, straight from the text.
            if (m_pieceLength == 0 && text.size() - from >= colourLineLength + 2
                && units[from + colourLineLength] == carriageReturn
                && units[from + colourLineLength + 1] == lineFeed) {
                if (const std::optional<ColourNumber> colour = colourOfHexDigits(units + from)) {
                    m_firstPiece = false;
                    addColour(*colour);
                    from += colourLineLength + 2;
                    continue;
                }
            }
            const qsizetype at = text.indexOf(carriageReturn, from);
            if (at < 0) {
                extendPiece(text.sliced(from));
                return;
            }
            extendPiece(text.sliced(from, at - from));
            if (at + 1 == text.size()) {
                m_carriageReturnPending = true; // the next part may begin with its LF
                return;
            }
            if (text[at + 1] == lineFeed) {
                endPiece(true);
                from = at + 2;
            } else {
                extendPiece(text.sliced(at, 1));
                from = at + 1;
            }
        }
    }

    // Colour lines of six hex digits and CR LF at the start of ASCII bytes that
    // are their own text, taken when a piece begins there; returns how many
    // bytes they fill.
    qsizetype takeHexLines(QByteArrayView bytes)
    {
        if (m_pieceLength != 0 || m_carriageReturnPending)
            return 0;
        constexpr qsizetype lineBytes = colourLineLength + 2;
        const char *line = bytes.data();
        const char *const end = line + bytes.size();
        while (end - line >= lineBytes && collecting()) {
            // At most as many lines as the block has room for, and one past
            // the limit, which ends the reading; gathered in a batch first,
            // which keeps the loop out of the block's bookkeeping.
            std::array<ColourNumber, 256> batch;
            const std::size_t room = std::size_t(std::min<std::uint64_t>(
                {batch.size(), m_blockEntries - m_block.size(),
                 std::min(m_maxEntries - m_entries, UINT64_MAX - 1) + 1,
                 std::uint64_t(end - line) / lineBytes}));
            const std::array<std::int16_t, 65536> &pairs = hexPairValues();
            std::size_t taken = 0;
            for (; taken < room; ++taken, line += lineBytes) {
                const std::optional<ColourNumber> colour = colourOfHexLine(line, pairs);
                if (!colour)
                    break;
                batch[taken] = *colour;
            }
            if (taken == 0)
                break;
            m_block.insert(m_block.end(), batch.begin(), batch.begin() + std::ptrdiff_t(taken));
            m_firstPiece = false;
            m_entries += taken;
            if (m_entries > m_maxEntries) {
                m_tooMany = true;
                return line - bytes.data();
            }
            if (m_block.size() == m_blockEntries)
                deliverBlock();
            if (taken < room)
                break;
        }
        return line - bytes.data();
    }

    // The end of the text: its last piece.
    void endText()
    {
        if (m_carriageReturnPending)
            extendPiece(QStringView(&carriageReturn, 1));
        endPiece(false);
    }

    // Once the colours are to be kept: the last partial block.
    void deliverRest()
    {
        if (!m_block.empty())
            deliverBlock();
    }

private:
    // A colour line has six units after the round trip, which drops at most a
    // first U+FEFF: a piece longer than seven units can never be one.
    static constexpr qsizetype keptUnits = colourLineLength + 1;

    void extendPiece(QStringView units)
    {
        if (m_pieceLength + units.size() <= keptUnits)
            std::copy_n(units.utf16(), units.size(), m_piece.begin() + m_pieceLength);
        m_pieceLength = std::min(m_pieceLength + units.size(), keptUnits + 1);
    }

    void endPiece(bool byLineEnd)
    {
        const bool startsText = m_firstPiece;
        m_firstPiece = false;
        const qsizetype length = m_pieceLength;
        m_pieceLength = 0;
        if (length > keptUnits || !collecting())
            return;
        const QStringView piece(m_piece.data(), length);
        const bool ascii = std::all_of(piece.begin(), piece.end(),
                                       [](QChar unit) { return unit.unicode() < 0x80; });
        if (ascii) {
            if (length == colourLineLength)
                takeColourLine(piece);
            return;
        }
        const QString line = throughLocaleEncoding(piece, startsText, byLineEnd);
        if (line.size() == colourLineLength)
            takeColourLine(line);
    }

    void takeColourLine(QStringView line)
    {
        ColourNumber colour = 0;
        if (const std::optional<ColourNumber> hex = colourOfHexDigits(line.utf16())) {
            colour = *hex;
        } else {
            try {
                colour = colourOfColourLine(line);
            } catch (const ConversionError &) {
                m_badLine = std::current_exception();
                return;
            }
        }
        addColour(colour);
    }

    void addColour(ColourNumber colour)
    {
        if (m_entries == m_maxEntries) {
            m_tooMany = true;
            return;
        }
        ++m_entries;
        m_block.push_back(colour);
        if (m_block.size() == m_blockEntries)
            deliverBlock();
    }

    void deliverBlock()
    {
        ColourBlock block;
        block.swap(m_block);
        if (m_deliver)
            m_deliver(std::move(block));
        m_block.reserve(m_blockEntries);
    }

    const std::function<void(ColourBlock &&)> &m_deliver;
    const std::size_t m_blockEntries;
    const std::uint64_t m_maxEntries;
    std::uint64_t m_entries = 0;
    ColourBlock m_block;
    std::array<char16_t, keptUnits> m_piece{};
    qsizetype m_pieceLength = 0; // counted up to one past what is kept
    bool m_firstPiece = true;
    bool m_carriageReturnPending = false;
    std::exception_ptr m_badLine;
    bool m_tooMany = false;
};

// The bytes of a file, read by read, through its encoding into colours. What
// each stage still has to do: the encoding waits for the first four bytes (or
// the end), the mark is skipped, decoding stops once its outcome cannot change
// any more and collecting once it is settled.
class ColourListStream {
public:
    ColourListStream(const ColourListReadHooks &hooks, const ColourListReadOptions &options)
        : m_lines(hooks, options)
    {
    }

    bool tooMany() const { return m_lines.tooMany(); }

    void take(QByteArrayView bytes)
    {
        if (!m_started) {
            // The encoding is decided on the first bytes actually read: files
            // of /proc tell a size of 0 and still have content.
            if (m_head.isEmpty() && bytes.size() >= 4) {
                start(bytes);
            } else {
                m_head.append(bytes);
                if (m_head.size() < 4)
                    return;
                start(m_head);
                bytes = m_head;
            }
        }
        decodeAfterMark(bytes);
    }

    // The end of the file; then the outcome.
    void finish(ColourListReadResult &result)
    {
        if (!m_started) {
            start(m_head);
            decodeAfterMark(m_head);
        }
        decode({}, true);
        if (m_decodingError) {
            result.discardEntries = true;
            result.error = m_decodingError;
        } else if (m_decoder && m_decoder->textIsVoid()) {
            result.discardEntries = true;
        } else if (m_lines.tooMany()) {
            result.status = ColourListReadResult::Status::TooMany;
        } else {
            m_lines.deliverRest();
            result.error = m_lines.badLine();
        }
    }

private:
    void start(QByteArrayView firstBytes)
    {
        m_started = true;
        const TextEncoding encoding = DetectTextEncoding(firstBytes.first(std::min<qsizetype>(4, firstBytes.size())),
                                                firstBytes.size());
        m_markLeft = encodingMarkLength(encoding);
        try {
            m_decoder.emplace(encoding);
        } catch (const FileError &) {
            m_decodingError = std::current_exception();
        }
    }

    void decodeAfterMark(QByteArrayView bytes)
    {
        const qsizetype skipped = std::min(m_markLeft, bytes.size());
        m_markLeft -= skipped;
        decode(bytes.sliced(skipped), false);
    }

    // Decoding goes on while the text is collected, and after a bad line
    // where a broken sequence further on could still void the whole text.
    bool decoding() const
    {
        return m_decoder && !m_decodingError && !m_decoder->textIsVoid()
               && (m_lines.collecting() || (m_decoder->canFailLater() && !m_lines.tooMany()));
    }

    void decode(QByteArrayView bytes, bool atEnd)
    {
        try {
            if (atEnd) {
                if (decoding()) {
                    m_decoder->finish(m_text);
                    takeText(true);
                }
                return;
            }
            while (!bytes.isEmpty() && decoding()) {
                if (!m_decoder->passesAscii() || !m_lines.collecting()) {
                    m_decoder->decode(bytes, m_text);
                    takeText(false);
                    return;
                }
                // Lines of six hex digits and CR LF are the same bytes in
                // UTF-8 and as text, and leave the decoder as it was: they go
                // straight to the colours. Other bytes are decoded in stretches
                // of a few kilobytes that end with a line (so the next stretch
                // begins a piece with nothing held back), which keeps a file of
                // short odd lines from costing a decoding call per line.
                if (!m_decoder->holdsBytes())
                    bytes = bytes.sliced(m_lines.takeHexLines(bytes));
                constexpr qsizetype stretch = 4096;
                const qsizetype lineEnd =
                    bytes.size() <= stretch ? -1 : bytes.indexOf(QByteArrayView("\r\n"), stretch - 1);
                const QByteArrayView decoded = lineEnd < 0 ? bytes : bytes.first(lineEnd + 2);
                m_decoder->decode(decoded, m_text);
                takeText(false);
                bytes = bytes.sliced(decoded.size());
            }
        } catch (const FileError &) {
            m_decodingError = std::current_exception();
        }
    }

    void takeText(bool atEnd)
    {
        if (m_decoder->textIsVoid() || !m_lines.collecting())
            return;
        m_lines.take(m_text);
        if (atEnd && m_lines.collecting())
            m_lines.endText();
    }

    ColourLineCollector m_lines;
    bool m_started = false; // the encoding is known
    std::optional<StreamingTextDecoder> m_decoder;
    std::exception_ptr m_decodingError;
    QByteArray m_head; // the first bytes, while fewer than four
    qsizetype m_markLeft = 0;
    QString m_text;          // the text of the latest bytes
};

} // namespace

ColourNumber colourOfColourLine(QStringView line)
{
    char ascii[colourLineLength];
    bool isAscii = true;
    for (qsizetype i = 0; i < colourLineLength; ++i) {
        const char16_t unit = line[i].unicode();
        isAscii = isAscii && unit < 0x80;
        ascii[i] = char(unit);
    }
    if (isAscii)
        return HexToTColor(std::string_view(ascii, colourLineLength));

    // A character beyond ASCII takes more than one byte in UTF-8, so the pairs
    // are handed over one by one to keep the message's characters whole.
    ColourNumber colour = 0;
    for (int pair = 0; pair < 3; ++pair) {
        const std::string digits = line.sliced(2 * pair, 2).toString().toStdString();
        colour |= (StrToInt("$" + digits) & 0xFF) << (8 * pair);
    }
    return colour;
}

ColourListReadResult readColourListFile(const QString &fileName, const ColourListReadHooks &hooks,
                                        const ColourListReadOptions &options)
{
    ColourListReadResult result;
    QFile file(fileName);
    try {
        if (hooks.beforeOpen)
            hooks.beforeOpen();
        openForReading(file);
    } catch (const FileError &) {
        result.discardEntries = true;
        result.error = std::current_exception();
        return result;
    }
    const qint64 fileSize = file.size();

    ColourListStream stream(hooks, options);
    QByteArray buffer(std::max<qsizetype>(1, options.readBytes), Qt::Uninitialized);
    qint64 bytesRead = 0;
    for (;;) {
        if (hooks.cancelRequested && hooks.cancelRequested()) {
            result.status = ColourListReadResult::Status::Cancelled;
            return result;
        }
        const qint64 count = file.read(buffer.data(), buffer.size());
        if (count < 0 || file.error() != QFileDevice::NoError) {
            // As when the whole file is read: a read error anywhere outweighs
            // whatever the bytes before it held.
            result.discardEntries = true;
            result.error = std::make_exception_ptr(cannotOpenError(fileName, file.errorString()));
            return result;
        }
        if (count == 0)
            break;
        bytesRead += count;
        stream.take(QByteArrayView(buffer.constData(), count));
        if (stream.tooMany()) {
            result.status = ColourListReadResult::Status::TooMany;
            return result;
        }
        if (hooks.progress)
            hooks.progress(bytesRead, fileSize);
    }
    stream.finish(result);
    return result;
}

} // namespace tonfang
