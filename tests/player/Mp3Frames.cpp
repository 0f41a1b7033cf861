#include "Mp3Frames.h"

QList<QByteArray> Mp3Frames(const QByteArray& file)
{
    static const int kBitrates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    qsizetype nPos = 0;
    if (file.startsWith("ID3") && file.size() >= 10) {
        const auto byte = [&file](int i) { return static_cast<qsizetype>(static_cast<unsigned char>(file[i]) & 0x7f); };
        nPos = 10 + (byte(6) << 21 | byte(7) << 14 | byte(8) << 7 | byte(9));
    }
    QList<QByteArray> frames;
    while (nPos + 4 <= file.size()) {
        const auto header = [&](int i) { return static_cast<unsigned char>(file[nPos + i]); };
        if (header(0) != 0xff || (header(1) & 0xfe) != 0xfa)
            break;
        const int nBitrateIndex = header(2) >> 4;
        if (nBitrateIndex == 0 || nBitrateIndex >= 15 || (header(2) >> 2 & 3) != 0)
            break;
        const qsizetype nLength = 144 * kBitrates[nBitrateIndex] * 1000 / 44100 + (header(2) >> 1 & 1);
        frames.append(file.mid(nPos, nLength));
        nPos += nLength;
    }
    if (!frames.isEmpty() && (frames.first().contains("Xing") || frames.first().contains("Info")))
        frames.removeFirst();
    return frames;
}
