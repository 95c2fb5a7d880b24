// A program folder of its own for each settings test, with the operator's
// message boxes answered and recorded.
#pragma once
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        sFolder_ = dir_.path().toStdString();
        vResetAppState();
        platform::vSetProgramFolder(sFolder_);
        platform::vSetMsgBoxResponder([this](const platform::MsgBoxCall& call) {
            boxes_.push_back(call);
            return platform::IDOK;
        });
    }
    void TearDown() override {
        platform::vSetMsgBoxResponder({});
        platform::vSetProgramFolder("");
        vResetAppState();
    }

    std::string sIniPath() const { return sFolder_ + "/ZYR_PAN_WEQ.ini"; }
    void vWriteRaw(const std::string& sBytes) const;
    std::string sReadRaw() const;

    // A complete file with every key and a value of its own; oChanges
    // replaces a key's value or, with nullopt, removes its line.
    using tChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;
    void vWriteIni(const tChanges& oChanges = {}, const std::string& sExtraLines = "") const;

    QTemporaryDir dir_;
    std::string sFolder_;
    std::vector<platform::MsgBoxCall> boxes_;
};

// Every key of a complete file with its value there, in the reader's order.
const std::vector<std::pair<std::string, std::string>>& fullIniKeys();
