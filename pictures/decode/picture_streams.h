#pragma once
// What stands between a picture file and a decoder of the toolkit: views of the file that
// keep from the decoder what would make it hold more memory or take more time than the
// picture's own pixels need.
#include <QIODevice>
#include <limits>

namespace picture {

// A view of a picture file that a decoder reads from start to end.
class StreamView : public QIODevice {
  public:
    bool isSequential() const override { return true; }

  protected:
    qint64 writeData(const char*, qint64) override { return -1; }
};

// A PNG as the decoder sees it: the file's bytes from `start` to `end`, without the text
// chunks (tEXt, zTXt, iTXt), which the toolkit's reader would inflate and keep whole.
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
};

// Follows the markers of a JPEG as its bytes go by: how many scans it has and how many
// blocks they cover between them, which is what decoding a progressive JPEG costs.
class JpegMarkers {
  public:
    // Takes the bytes; returns how many were taken, fewer only when a scan beyond
    // `scanLimit` starts (limited() then tells so): the bytes before its marker.
    qint64 feed(const char* data, qint64 size, int scanLimit = std::numeric_limits<int>::max());
    bool limited() const { return limited_; }
    int scans() const { return scans_; }
    qint64 blockScans() const { return blockScans_; }
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
    qint64 blockScans_ = 0;
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
