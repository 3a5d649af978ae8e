#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

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
    quint16 lookUp(char16_t unit);

    void* m_handle; // iconv_t
    // The two GBK bytes of each character of the basic plane met so far
    // (lead byte high), NoGbk for one without a form, 0 for one not yet
    // looked up; made at the first character past ASCII.
    std::unique_ptr<quint16[]> m_codes;
};

/// The GBK bytes of `text`, for the odd string; exports keep one GbkEncoder.
QByteArray toGbk(QStringView text);

/// GBK bytes as text; nothing for bytes the C library's GBK does not hold
/// (it reads a lone 0x80 as the euro sign, which GBK proper lacks).
std::optional<QString> fromGbk(const QByteArray& bytes);

/// GB18030 bytes as text: GBK's superset, which spreadsheets write for the
/// euro sign (A2E3) and for characters GBK lacks (four bytes each); nothing
/// for bytes that are not GB18030.
std::optional<QString> fromGb18030(const QByteArray& bytes);

} // namespace lists
