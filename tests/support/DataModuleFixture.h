#pragma once

#include "support/ModalDriver.h"
#include "support/TestDatabase.h"

#include "store/ConnectionString.h"
#include "ui/MessageBoxes.h"
#include "ui/TDm1.h"

#include <gtest/gtest.h>

#include <memory>

/// A fresh database with the data module connected to it and an operator
/// logged in, as the windows find things once the program has started.
/// Every message box is recorded instead of shown.
class DataModuleFixture : public ::testing::Test {
protected:
    testing_support::TestDatabase db;
    ui::MessageRecorder messages;
    std::unique_ptr<ui::TDm1> dm;

    void SetUp() override {
        dm = std::make_unique<ui::TDm1>(store::ConnectionString::forFile(db.path()));
        dm->ADO_xjrjz.open();
        dm->login.operatorName = QStringLiteral("出纳甲");
        dm->login.loggedIn = true;
    }
    void TearDown() override { dm.reset(); }

    QVariant scalar(const char* sql) { return db.scalar(QString::fromUtf8(sql)); }
};
