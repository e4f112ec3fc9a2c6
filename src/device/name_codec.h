// UTF-8 in which every byte that is not part of valid UTF-8 travels as the
// lone surrogate U+DC00 + byte and back, so that text decoded with it turns
// into the same bytes again (POSIX file names may hold any bytes).
#pragma once

#include <QTextCodec>

class ByteKeepingUtf8 : public QTextCodec {
public:
    QByteArray name() const override { return QByteArrayLiteral("UTF-8 (bytes kept)"); }
    int mibEnum() const override { return -1; }

protected:
    QString convertToUnicode(const char* in, int length, ConverterState* state) const override;
    QByteArray convertFromUnicode(const QChar* in, int length, ConverterState*) const override;
};
