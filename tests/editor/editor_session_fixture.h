#pragma once

#include "platform/linux/utf8_text_codec.h"
#include "temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace amperlog {

class EditorSessionTest : public ::testing::Test {
protected:
    Utf8TextCodec m_utf8;
    test::TempFolder m_folder;
    std::filesystem::path m_log = m_folder / "20261207.txt";
};

} // namespace amperlog
