#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace admin {

/// The initialisation window: empties the cash journal and the
/// summary catalogue, each when ticked. Nothing else is ever emptied here,
/// and nothing at all before a safety copy of the whole book is made.
class TForm_initialize : public QDialog {
    Q_OBJECT
public:
    explicit TForm_initialize(QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void initialise();
    bool keepSafetyCopy();

    QCheckBox* m_cashJournal;
    QCheckBox* m_summaries;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace admin
