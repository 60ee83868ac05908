#include "inspection/media/recording_file.h"

#include "base/read_file.h"
#include "inspection/media/media_error.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace tagsmith::inspection::media {

namespace {

// Core Audio Format: a file header, a "desc" chunk describing the samples
// and a "data" chunk; every header field is big-endian.
constexpr qint64 kDataSizeOffset = 56;
constexpr qint64 kSamplesOffset = 68;
constexpr qint64 kEditCountSize = 4;
// A length of -1 marks a data chunk that runs to the end of the file, which
// keeps a recording readable even if it was never finished.
constexpr qint64 kOpenLength = -1;
constexpr double kSilence = -160;

QByteArray header(qint64 dataChunkSize) {
    QByteArray bytes(kSamplesOffset, '\0');
    char* at = bytes.data();
    std::memcpy(at, "caff", 4);
    qToBigEndian<quint16>(1, at + 4);
    std::memcpy(at + 8, "desc", 4);
    qToBigEndian<qint64>(32, at + 12);
    qToBigEndian<double>(RecordingFile::kSampleRate, at + 20);
    std::memcpy(at + 28, "lpcm", 4);
    qToBigEndian<quint32>(2, at + 32); // signed integer samples, little-endian
    qToBigEndian<quint32>(RecordingFile::kBytesPerSample, at + 36);
    qToBigEndian<quint32>(1, at + 40); // frames per packet
    qToBigEndian<quint32>(1, at + 44); // channels
    qToBigEndian<quint32>(16, at + 48);
    std::memcpy(at + 52, "data", 4);
    qToBigEndian<qint64>(dataChunkSize, at + kDataSizeOffset);
    return bytes;
}

} // namespace

RecordingFile::RecordingFile(const QString& path) : m_file(path) {}

RecordingFile::~RecordingFile() {
    finish();
}

bool RecordingFile::create() {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray start = header(kOpenLength);
    if (m_file.write(start) != start.size()) {
        m_file.close();
        return false;
    }
    return open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void RecordingFile::finish() {
    if (!m_file.isOpen())
        return;
    QByteArray length(8, '\0');
    qToBigEndian<qint64>(kEditCountSize + m_dataBytes, length.data());
    if (m_file.seek(kDataSizeOffset))
        m_file.write(length);
    m_file.close();
    close();
}

double RecordingFile::takeAveragePower() {
    const double meanSquare = m_meteredSamples > 0 ? m_sumOfSquares / double(m_meteredSamples) : 0;
    m_sumOfSquares = 0;
    m_meteredSamples = 0;
    if (meanSquare <= 0)
        return kSilence;
    return std::max(kSilence, 10 * std::log10(meanSquare / (32768.0 * 32768.0)));
}

qint64 RecordingFile::readData(char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

qint64 RecordingFile::writeData(const char* data, qint64 size) {
    if (m_dataBytes + size > kMaxSamples * kBytesPerSample)
        return -1;
    const qint64 written = m_file.write(data, size);
    if (written <= 0)
        return -1;
    m_dataBytes += written;
    for (qint64 i = 0; i + 1 < written; i += kBytesPerSample) {
        const double sample = qFromLittleEndian<qint16>(data + i);
        m_sumOfSquares += sample * sample;
        ++m_meteredSamples;
    }
    return written;
}

Result<QByteArray> readRecording(const QString& path) {
    const Error unusable = mediaError(QStringLiteral("录音文件不可用。"));
    const qint64 largest = kSamplesOffset + RecordingFile::kMaxSamples * RecordingFile::kBytesPerSample;
    Result<QByteArray> file = base::readFileUpTo(path, largest + 1);
    if (!file || file->size() < kSamplesOffset || file->size() > largest)
        return unusable;
    if (!file->startsWith(header(kOpenLength).left(kDataSizeOffset)))
        return unusable;
    const qint64 chunk = qFromBigEndian<qint64>(file->constData() + kDataSizeOffset);
    const qint64 available = file->size() - kSamplesOffset;
    qint64 samples = chunk == kOpenLength ? available : chunk - kEditCountSize;
    if (samples < 0 || samples > available)
        return unusable;
    samples -= samples % RecordingFile::kBytesPerSample;
    return file->mid(kSamplesOffset, samples);
}

} // namespace tagsmith::inspection::media
