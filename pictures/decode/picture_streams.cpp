#include "pictures/decode/picture_streams.h"

#include "pictures/decode/decode_budget.h"
#include "pictures/decode/picture_header.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace picture {

CancellableFile::CancellableFile(QIODevice& source) : source_(source) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    seek(source.pos());
}

qint64 CancellableFile::readData(char* data, qint64 max) {
    // A failed read ends the data as the end of the file would: libtiff 4.5 takes a failed read's
    // -1 for a length and clears a byte before its buffer.
    if (cancelled() || !source_.seek(pos())) return 0;
    return std::max<qint64>(source_.read(data, max), 0);
}

namespace {

enum class Use { Pass, PassOver, End };

// Most bytes of an ICC profile handed on: real ones have a few kilobytes, a camera's some
// hundreds.
constexpr qint64 kMostProfileBytes = 4 << 20;

Use useOf(const PngChunk& chunk) {
    static const QList<QByteArray> pixels = {"IHDR", "PLTE", "IDAT", "IEND",
                                             "tRNS", "gAMA", "cHRM", "sRGB"};
    if (pixels.contains(chunk.type)) return Use::Pass;
    if (chunk.type == "iCCP") return chunk.length <= kMostProfileBytes ? Use::Pass : Use::End;
    // Bit 5 of the first letter: a chunk a decoder may pass over without understanding it.
    const bool ancillary = chunk.type.size() == 4 && (chunk.type[0] & 0x20);
    return ancillary ? Use::PassOver : Use::End;
}

} // namespace

PngStream::PngStream(QIODevice& source, qint64 start, qint64 end)
    : source_(source), pos_(start), end_(end < 0 ? source.size() : std::min(end, source.size())) {
    open(QIODevice::ReadOnly);
}

qint64 PngStream::bytesAvailable() const {
    return QIODevice::bytesAvailable() + std::max<qint64>(0, end_ - pos_);
}

qint64 PngStream::readData(char* data, qint64 max) {
    if (cancelled()) return -1;
    qint64 done = 0;
    while (done < max) {
        if (passing_ == 0) {
            // At a chunk: its length and type decide whether it goes on.
            if (end_ - pos_ < 12) {
                passing_ = end_ - pos_; // a file cut short: the decoder sees where
                if (passing_ == 0) break;
                continue;
            }
            const std::optional<PngChunk> chunk = pngChunkAt(source_, pos_, end_);
            if (!chunk) break;
            const qint64 whole = chunk->next() - pos_;
            const Use use = useOf(*chunk);
            if (use == Use::End || (use == Use::PassOver && ++passedOver_ > kMostPngChunks)) {
                end_ = pos_;
                break;
            }
            if (use == Use::PassOver) {
                pos_ += std::min(whole, end_ - pos_);
                continue;
            }
            passing_ = std::min(whole, end_ - pos_);
        }
        if (source_.pos() != pos_ && !source_.seek(pos_)) break;
        const qint64 n = source_.read(data + done, std::min(max - done, passing_));
        if (n <= 0) break;
        pos_ += n;
        passing_ -= n;
        done += n;
    }
    return done > 0 ? done : -1;
}

qint64 jpegScanWork(qint64 blocks, int ss, int se, int ah) {
    // Measured with libjpeg-turbo 2.1 on scans of end-of-band runs: about 5 ns a block for a
    // first scan, 16 ns for a DC scan with a bit of data per block, 12 ns plus 0.45 ns per
    // coefficient for a refining one.
    constexpr qint64 kPerBlock = 32;
    const bool refinesAc = ah > 0 && ss > 0;
    const qint64 coefficients = std::clamp(se - ss + 1, 1, 64);
    return blocks * (kPerBlock + (refinesAc ? coefficients : 0));
}

namespace {
bool isFrame(int c) {
    return c >= 0xC0 && c <= 0xCF && c != 0xC4 && c != 0xC8 && c != 0xCC;
}
} // namespace

void JpegMarkers::code(int c) {
    marker_ = c;
    if (c == 0xD8 || c == 0x01 || (c >= 0xD0 && c <= 0xD7)) {
        state_ = Marker; // no length follows
    } else if (c == 0xD9) {
        state_ = Ended;
    } else {
        state_ = Length;
        length_ = 0;
        lengthBytes_ = 0;
    }
}

bool JpegMarkers::startsScanBeyond(int c, int scanLimit) {
    if (c != 0xDA || scans_ < scanLimit) return false;
    limited_ = true;
    return true;
}

qint64 JpegMarkers::blocks(int component) const {
    int hMax = 1, vMax = 1;
    for (qsizetype k = 1; k < components_.size(); k += 3) {
        hMax = std::max(hMax, quint8(components_[k]) >> 4);
        vMax = std::max(vMax, quint8(components_[k]) & 15);
    }
    const int hv = quint8(components_[component * 3 + 1]);
    const qint64 mcuColumns = (qint64(width_) + 8 * hMax - 1) / (8 * hMax);
    const qint64 mcuRows = (qint64(height_) + 8 * vMax - 1) / (8 * vMax);
    return mcuColumns * (hv >> 4) * mcuRows * (hv & 15);
}

qint64 JpegMarkers::coefficientBytes() const {
    qint64 sum = 0;
    for (int c = 0; c < components_.size() / 3; ++c)
        sum += blocks(c) * 64 * 2;
    return sum;
}

void JpegMarkers::segmentEnd() {
    if (isFrame(marker_) && payload_.size() >= 6 && components_.isEmpty()) {
        height_ = qFromBigEndian<quint16>(payload_.constData() + 1);
        width_ = qFromBigEndian<quint16>(payload_.constData() + 3);
        const int n = quint8(payload_[5]);
        if (payload_.size() >= 6 + 3 * n) components_ = payload_.mid(6, 3 * n);
    }
    if (marker_ != 0xDA) {
        state_ = Marker;
        return;
    }
    ++scans_;
    const int n = payload_.isEmpty() ? 0 : quint8(payload_[0]);
    if (scans_ == 1) firstScanComplete_ = n == components_.size() / 3;
    // After the components: the first and last coefficient, the bit refined and the one coded.
    const qsizetype band = 1 + 2 * qsizetype(n);
    const int ss = band < payload_.size() ? quint8(payload_[band]) : 0;
    const int se = band + 1 < payload_.size() ? quint8(payload_[band + 1]) : 63;
    const int ah = band + 2 < payload_.size() ? quint8(payload_[band + 2]) >> 4 : 0;
    for (int k = 0; k < n && 1 + 2 * k < payload_.size(); ++k) {
        qint64 most = 0, counted = -1;
        for (int c = 0; c < components_.size() / 3; ++c) {
            most = std::max(most, blocks(c));
            if (components_[c * 3] == payload_[1 + 2 * k]) counted = blocks(c);
        }
        work_ += jpegScanWork(counted < 0 ? most : counted, ss, se, ah);
    }
    state_ = Entropy;
}

qint64 JpegMarkers::feed(const char* data, qint64 size, int scanLimit) {
    qint64 i = 0;
    while (i < size && state_ != Ended && state_ != Broken) {
        const int b = quint8(data[i]);
        switch (state_) {
        case Marker:
            // Anything but a marker here is skipped by the decoder, as it skips image data.
            state_ = b == 0xFF ? Code : Entropy;
            ++i;
            break;
        case Code:
        case EntropyFF:
            if (b == 0xFF) { // fill
                ++i;
            } else if (b == 0x00 || (state_ == EntropyFF && b >= 0xD0 && b <= 0xD7)) {
                state_ = Entropy; // a data byte 0xFF, or a restart marker
                ++i;
            } else if (startsScanBeyond(b, scanLimit)) {
                return std::max<qint64>(i - 1, 0);
            } else {
                code(b);
                ++i;
            }
            break;
        case Length:
            length_ = length_ << 8 | b;
            ++i;
            if (++lengthBytes_ < 2) break;
            if (length_ < 2) {
                state_ = Broken;
                break;
            }
            remaining_ = length_ - 2;
            payload_.clear();
            state_ = Payload;
            if (remaining_ == 0) segmentEnd();
            break;
        case Payload: {
            const qint64 n = std::min(remaining_, size - i);
            if (isFrame(marker_) || marker_ == 0xDA)
                payload_.append(data + i, std::min<qint64>(n, 1024 - payload_.size()));
            i += n;
            remaining_ -= n;
            if (remaining_ == 0) segmentEnd();
            break;
        }
        case Entropy: {
            const void* ff = std::memchr(data + i, 0xFF, size_t(size - i));
            i = ff ? static_cast<const char*>(ff) - data + 1 : size;
            if (ff) state_ = EntropyFF;
            break;
        }
        case Ended:
        case Broken:
            break;
        }
    }
    return size;
}

JpegStream::JpegStream(QIODevice& source, int scans) : source_(source), scans_(scans) {
    open(QIODevice::ReadOnly);
}

qint64 JpegStream::readData(char* data, qint64 max) {
    if (markers_.limited() || cancelled()) return -1;
    const qint64 n = source_.read(data, max);
    if (n <= 0) return -1;
    const qint64 taken = markers_.feed(data, n, scans_);
    return markers_.limited() && taken == 0 ? -1 : taken;
}

} // namespace picture
