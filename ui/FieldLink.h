#pragma once

#include "store/Query.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

namespace ui {

class DataSource;

/// Binds one control to one named field of a data source's current row: it
/// tells the control when to show the field anew, puts the query into edit mode
/// when the user changes the control, and writes the control's pending value
/// into the field when the query asks for it (post, cursor moves, updateRecord).
///
/// The control re-reads when the cursor moves, the set of rows is reset, the
/// row is posted or cancelled, and when its own field is set in the query;
/// values set in other fields leave a pending edit of this control alone.
/// While the query is closed the control shows nothing; the field is looked up
/// when the link is bound to an open query and whenever the query opens. A
/// field the open query lacks raises the engine's error there (store::EngineError
/// out of the binding call, or out of the query's open), so a window over a
/// table without that column does not open and swallow what is typed.
class FieldLink : public QObject {
    Q_OBJECT
public:
    /// `show` puts the field's value (or nothing, when there is no field) into
    /// the control; `write` puts the control's pending value into the field and
    /// throws store::EngineError for a value the field cannot take.
    using Show = std::function<void()>;
    using Write = std::function<void(store::Field& field)>;

    /// A control keeps its link as a member, so that the link (and its
    /// connections) goes before the control's widget parts do.
    FieldLink(Show show, Write write);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    void setFieldName(const QString& name);
    const QString& fieldName() const { return m_fieldName; }

    /// The data source's query, null when there is none.
    store::Query* query() const;
    /// The bound field of the open query; nothing when the query is closed or
    /// lacks the field.
    std::optional<store::Field> field() const;
    /// The query is in Edit or Insert state.
    bool isEditing() const;
    /// The field exists and its query accepts changes (not read-only).
    bool canModify() const;

    /// Puts the query into edit mode for the user's change (on an empty result
    /// this starts a new row). False when the field cannot be changed.
    bool edit();
    /// Reports that the user changed the control: starts edit mode and marks
    /// the value pending, or, when the field cannot be changed, shows the field
    /// again so that the change is undone. Ignored while the link itself is
    /// filling the control.
    void userChanged();

    /// The control holds a value not yet written into the field.
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    /// True while the link is filling the control (changes then are not the user's).
    bool isShowing() const { return m_showing; }

    /// Writes a pending value into the field; store::EngineError propagates and
    /// the value stays pending.
    void updateRecord();
    /// As updateRecord(), for focus changes: an unwritable value stays pending
    /// (the post that follows reports it). True when nothing stays pending.
    bool updateRecordQuietly();
    /// Shows the field anew, dropping a pending value.
    void reset();
    /// Shows the field anew, keeping the pending state (a control whose display
    /// depends on the focus calls it when the focus changes).
    void refresh();

private:
    /// Throws store::EngineError when the open query lacks the bound field.
    void requireField() const;
    void bind(store::Query* query);
    void onCurrentChanged();
    void onRowChanged(int row);
    void onFieldChanged(int column);
    void onStateChanged(store::QueryState state);

    Show m_show;
    Write m_write;
    QPointer<DataSource> m_source;
    QPointer<store::Query> m_query;
    QList<QMetaObject::Connection> m_connections;
    QMetaObject::Connection m_sourceConnection;
    QString m_fieldName;
    mutable int m_column = -1; // cached index of the field in the query's columns
    bool m_modified = false;
    bool m_showing = false;
    bool m_editing = false; // inside our own edit(): the typed value is kept
};

} // namespace ui
