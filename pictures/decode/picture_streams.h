#pragma once
// What stands between a picture file and a decoder of the toolkit: views of the file that
// keep from the decoder what would make it hold more memory or take more time than the
// picture's own pixels need.
#include <QIODevice>
#include <limits>

namespace picture {

// A picture file as a decoder of the toolkit sees it: it ends once the decode is no longer
// wanted (picture::cancelled), so the decoder stops at its next read (between strips or tiles
// of a TIFF, every few kilobytes of most others), with a picture cut short that nobody uses.
class CancellableFile : public QIODevice {
  public:
    explicit CancellableFile(QIODevice& source);
    bool isSequential() const override { return false; }
    qint64 size() const override { return source_.size(); }

  protected:
    qint64 readData(char* data, qint64 max) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QIODevice& source_;
};

// A view of a picture file that a decoder reads from start to end; the views below end, as
// CancellableFile does, once the decode is no longer wanted.
class StreamView : public QIODevice {
  public:
    bool isSequential() const override { return true; }

  protected:
    qint64 writeData(const char*, qint64) override { return -1; }
};

// A PNG as the decoder sees it: the file's bytes from `start` to `end`, with only the chunks
// that make its pixels and their colours. The others are passed over unread: text chunks
// (which a decoder inflates and keeps whole), and whatever else a decoder reading as the data
// comes would hold whole before it looks at it. A chunk of another kind that a picture cannot
// be read without, an ICC profile larger than any real one, or more chunks passed over than
// any encoder writes, end the stream there.
class PngStream : public StreamView {
  public:
    PngStream(QIODevice& source, qint64 start, qint64 end);
    qint64 bytesAvailable() const override;

  protected:
    qint64 readData(char* data, qint64 max) override;

  private:
    QIODevice& source_;
    qint64 pos_;
    qint64 end_;
    qint64 passing_ = 8; // bytes to hand on before the next chunk: the signature first
    int passedOver_ = 0;
};

// The work libjpeg does for one scan over `blocks` blocks (first coefficient `ss`, last `se`,
// `ah` the bit refined; 0 when first coded), in units of about half a nanosecond of one core.
// Every block costs the decoder a visit however little data the scan carries (end-of-band runs
// cover thousands of blocks in a few bits); a scan refining AC coefficients looks at each of its
// coefficients in every block, also inside such runs.
qint64 jpegScanWork(qint64 blocks, int ss, int se, int ah);

// Most work all the scans of a JPEG may take: about a second of one core, five times what the
// largest progressive photo the memory limit admits needs.
inline constexpr qint64 kMostJpegWork = 2'000'000'000;

// Follows the markers of a JPEG as its bytes go by: how many scans it has and the work they
// make the decoder do (jpegScanWork), which is what decoding a progressive JPEG costs.
class JpegMarkers {
  public:
    // Takes the bytes; returns how many were taken, fewer only when a scan beyond
    // `scanLimit` starts (limited() then tells so): the bytes before its marker.
    qint64 feed(const char* data, qint64 size, int scanLimit = std::numeric_limits<int>::max());
    bool limited() const { return limited_; }
    int scans() const { return scans_; }
    qint64 work() const { return work_; }
    qint64
    coefficientBytes() const; // every block of every component, as multi-scan decoding holds them
    // The first scan holds every component: a sequential JPEG of that kind is decoded in one
    // pass that holds no more than a few rows.
    bool firstScanComplete() const { return firstScanComplete_; }
    bool ended() const { return state_ == Ended; }
    bool broken() const { return state_ == Broken; }

  private:
    enum State { Marker, Code, Length, Payload, Entropy, EntropyFF, Ended, Broken };
    void code(int c);
    bool startsScanBeyond(int c, int scanLimit);
    void segmentEnd();
    qint64 blocks(int component) const;
    State state_ = Marker;
    int marker_ = 0;
    int length_ = 0;
    int lengthBytes_ = 0;
    qint64 remaining_ = 0;
    QByteArray payload_; // of frame and scan headers
    int width_ = 0, height_ = 0;
    QByteArray components_; // id, sampling, table of each
    int scans_ = 0;
    qint64 work_ = 0;
    bool firstScanComplete_ = false;
    bool limited_ = false;
};

// The JPEG file as the decoder sees it: it ends where a scan beyond `scans` would start, so
// that a file that grows scans while it is decoded costs no more than the scans counted.
class JpegStream : public QIODevice {
  public:
    JpegStream(QIODevice& source, int scans);
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return QIODevice::bytesAvailable() + source_.bytesAvailable();
    }
    bool cut() const { return markers_.limited(); } // the file had more scans than allowed

  protected:
    qint64 readData(char* data, qint64 max) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QIODevice& source_;
    int scans_;
    JpegMarkers markers_;
};

} // namespace picture
