#pragma once

#include <QByteArray>
#include <QStringView>

namespace lists {

/// Turns text into the GBK bytes that exported files carry: GBK proper, so
/// that every GBK reader takes them. A character GBK proper cannot hold
/// (the euro sign, which only code page 936 adds, among them) becomes one
/// "?"; everything else is kept.
/// One encoder serves a whole export; it is not shared between threads.
class GbkEncoder {
public:
    GbkEncoder();
    ~GbkEncoder();
    GbkEncoder(const GbkEncoder&) = delete;
    GbkEncoder& operator=(const GbkEncoder&) = delete;

    /// Appends the GBK bytes of `text` to `out`.
    void append(QByteArray& out, QStringView text);
    QByteArray encode(QStringView text);

private:
    void appendConverted(QByteArray& out, QStringView text);
    void appendConvertible(QByteArray& out, QStringView text);

    void* m_handle; // iconv_t
};

/// The GBK bytes of `text`, for the odd string; exports keep one GbkEncoder.
QByteArray toGbk(QStringView text);

} // namespace lists
