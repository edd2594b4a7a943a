#pragma once
// A scratch folder per test, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

class TempDir {
public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("calvex_doc_" + std::string(info->test_suite_name()) + "_" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    ~TempDir() { std::filesystem::remove_all(m_dir); }
    std::filesystem::path operator/(const std::string& name) const { return m_dir / name; }
    const std::filesystem::path& Path() const { return m_dir; }

    std::filesystem::path WriteFile(const std::string& name, const std::string& content) const {
        const auto p = m_dir / name;
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    static std::string ReadFile(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_dir;
};
