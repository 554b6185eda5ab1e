#include "ExifCarry.h"

#include <exiv2/exiv2.hpp>
#include <mutex>
#include <string>

#include "ExifSegment.h"

namespace exifcarry {

namespace {

const char kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

// What the library reports while this thread decodes or encodes one block: the library's
// log is one for the whole program, so each thread keeps its own messages.
struct Messages {
    std::string firstError;
    std::string firstWarning;
};
thread_local Messages* tMessages = nullptr;

void collect(int level, const char* text) {
    if (tMessages == nullptr || text == nullptr)
        return;
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == ' '))
        line.pop_back();
    std::string& slot =
        level >= Exiv2::LogMsg::error ? tMessages->firstError : tMessages->firstWarning;
    if (slot.empty())
        slot = line;
}

// The library's one-time set-up, before any thread uses it: its XMP toolkit must be started
// from one thread only, and its messages go to the block being handled instead of stderr.
void setUpLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::XmpParser::initialize();
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::warn);
        Exiv2::LogMsg::setHandler(collect);
    });
}

class Listening {
  public:
    Listening() { tMessages = &messages; }
    ~Listening() { tMessages = nullptr; }
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;
    Messages messages;
};

void eraseGroup(Exiv2::ExifData& data, const std::string& group) {
    for (auto it = data.begin(); it != data.end();) {
        it = it->groupName() == group ? data.erase(it) : std::next(it);
    }
}

template <typename Value>
void setIfPresent(Exiv2::ExifData& data, const char* key, Value value) {
    const auto it = data.findKey(Exiv2::ExifKey(key));
    if (it != data.end())
        *it = value;
}

// Drops what no longer describes the output: the thumbnail (the whole second IFD, which would
// show the picture as it was) and, unless kept, the GPS position.
void dropStale(Exiv2::ExifData& data, bool keepGps) {
    eraseGroup(data, "Thumbnail");
    if (!keepGps) {
        eraseGroup(data, "GPSInfo");
        const auto pointer = data.findKey(Exiv2::ExifKey("Exif.Image.GPSTag"));
        if (pointer != data.end())
            data.erase(pointer);
    }
}

void describeOutput(Exiv2::ExifData& data, int width, int height, bool madeSrgb) {
    // The output's pixels already stand upright.
    const auto orientation = data.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (orientation != data.end())
        *orientation = uint16_t{1};
    data["Exif.Photo.PixelXDimension"] = static_cast<uint32_t>(width);
    data["Exif.Photo.PixelYDimension"] = static_cast<uint32_t>(height);
    setIfPresent(data, "Exif.Image.ImageWidth", static_cast<uint32_t>(width));
    setIfPresent(data, "Exif.Image.ImageLength", static_cast<uint32_t>(height));
    if (madeSrgb) {
        // An edited photo may declare "uncalibrated" (Adobe RGB, say) beside its profile; the
        // output's pixels are sRGB, and viewers would show them in the old space.
        setIfPresent(data, "Exif.Photo.ColorSpace", uint16_t{1});
        const auto index = data.findKey(Exiv2::ExifKey("Exif.Iop.InteroperabilityIndex"));
        if (index != data.end())
            index->setValue("R98");
    }
}

}  // namespace

std::optional<QByteArray> FitExif(const QByteArray& exif, int width, int height, bool keepGps,
                                  bool madeSrgb, QString* problem) {
    const auto fail = [problem](const QString& why) -> std::optional<QByteArray> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (exif.size() < static_cast<int>(sizeof kExifHeader) ||
        !exif.startsWith(QByteArray(kExifHeader, sizeof kExifHeader)))
        return fail("no Exif header");
    if (width <= 0 || height <= 0)
        return fail("no output size");
    setUpLibrary();
    Listening listening;
    try {
        Exiv2::ExifData data;
        const auto* tiff =
            reinterpret_cast<const Exiv2::byte*>(exif.constData()) + sizeof kExifHeader;
        const auto tiffSize = static_cast<uint32_t>(exif.size() - sizeof kExifHeader);
        const Exiv2::ByteOrder order = Exiv2::ExifParser::decode(data, tiff, tiffSize);
        if (order == Exiv2::invalidByteOrder)
            return fail("the Exif block has no valid TIFF header");
        // A block the library had to cut or skip parts of is damaged: its tags cannot be
        // trusted to be the photo's.
        if (!listening.messages.firstError.empty())
            return fail("the Exif block is damaged: " +
                        QString::fromStdString(listening.messages.firstError));
        dropStale(data, keepGps);
        if (data.empty())  // nothing of the photo's own is left to carry
            return std::nullopt;
        describeOutput(data, width, height, madeSrgb);

        listening.messages = {};
        Exiv2::Blob blob;
        Exiv2::ExifParser::encode(blob, order, data);
        // When a block outgrows a segment the library leaves tags out, saying so: no longer
        // the photo's Exif.
        if (!listening.messages.firstError.empty() || !listening.messages.firstWarning.empty()) {
            const std::string& why = listening.messages.firstError.empty()
                                         ? listening.messages.firstWarning
                                         : listening.messages.firstError;
            return fail("the Exif block could not be written whole: " +
                        QString::fromStdString(why));
        }
        if (blob.size() > static_cast<size_t>(kMaxExifBody) - sizeof kExifHeader)
            return fail(QString("the Exif block is too large (%1 bytes)").arg(blob.size()));
        QByteArray body(kExifHeader, sizeof kExifHeader);
        body.append(reinterpret_cast<const char*>(blob.data()),
                    static_cast<qsizetype>(blob.size()));
        return body;
    } catch (const std::exception& e) {
        return fail(QString("the Exif block could not be read: %1").arg(e.what()));
    }
}

std::optional<QByteArray> ExifForOutput(const QString& inputPath, int width, int height,
                                        bool keepGps, QString* problem) {
    const ExifSource source = ReadExifSource(inputPath, problem);
    if (!source.exif)
        return std::nullopt;
    return FitExif(*source.exif, width, height, keepGps, source.iccProfile, problem);
}

}  // namespace exifcarry
