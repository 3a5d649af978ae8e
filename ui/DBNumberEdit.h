#pragma once

#include "DBEdit.h"

#include "store/Currency.h"

#include <optional>

namespace ui {

/// An amount field bound to a currency field: without the focus it shows two
/// decimals with group separators ("1,234.50"); with the focus it shows the
/// amount for editing without separators ("1234.50", or every decimal the
/// amount has, "12.3456"). It reads what it shows, separators included; empty
/// text stores null. Amounts are exact (store::Currency), never floating point.
class DBNumberEdit : public DBEdit {
    Q_OBJECT
public:
    explicit DBNumberEdit(QWidget* parent = nullptr);

    /// The amount the text stands for; nothing when empty or unreadable.
    std::optional<store::Currency> value() const;

protected:
    QString textFor(const store::Field& field) const override;
    /// Throws store::EngineError for text that is not an amount.
    void writeText(store::Field& field, const QString& text) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_focused = false;
};

} // namespace ui
