#pragma once

#include <QString>

#include <functional>
#include <map>

namespace app {

class TForm_main;

/// Every menu and tool-bar command of the main window, by component name.
/// A command opens its window modally over the main window after preparing
/// the shared query that window works on, and closes the query afterwards.
class Commands {
public:
    explicit Commands(TForm_main& main);

    bool has(const QString& component) const { return m_table.count(component) > 0; }
    /// Runs a command; an unknown name does nothing.
    void run(const QString& component);

private:
    void cashJournal();
    void bankJournal();
    template <typename Window>
    void statistics();
    void operators();
    void summaries();
    void bankAccounts();
    void ownPassword();
    void changeOperator();
    void interfaceReset();
    void help();
    void about();
    void exitProgram();

    TForm_main& m_main;
    std::map<QString, std::function<void()>> m_table;
};

} // namespace app
