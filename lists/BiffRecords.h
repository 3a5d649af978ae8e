#pragma once

#include <QtGlobal>

namespace lists::biff {

/// The worksheet records the export writes and the import reads back.
constexpr quint16 BofRecord = 0x0809;
constexpr quint16 CodePageRecord = 0x0042;
constexpr quint16 LabelRecord = 0x0204;
constexpr quint16 NumberRecord = 0x0203;
constexpr quint16 IntegerRecord = 0x027E;
constexpr quint16 BlankRecord = 0x0201;
constexpr quint16 EofRecord = 0x000A;

} // namespace lists::biff
