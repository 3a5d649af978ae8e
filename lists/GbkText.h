#pragma once

#include <QByteArray>
#include <QStringView>

namespace lists {

/// Turns text into the GBK bytes (code page 936) that exported files carry.
/// A character GBK cannot hold becomes one "?"; everything else is kept.
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

    void* m_handle; // iconv_t
};

/// The GBK bytes of `text`, for the odd string; exports keep one GbkEncoder.
QByteArray toGbk(QStringView text);

} // namespace lists
