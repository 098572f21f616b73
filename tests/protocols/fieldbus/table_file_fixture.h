#pragma once
// The set-up windows' project files read and written without their windows.
#include "shell/ULanguage.h"
#include "shell/USetupWindow.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <vector>

class TableFileTest : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
    std::vector<shell::Table_Rows> Read(const shell::Setup_Window_Description& window, const QString& path,
                                        QStringList* problems = nullptr)
    {
        std::vector<shell::Table_Rows> tables;
        shell::Read_Project_Tables(path, window.File, &tables, problems);
        return tables;
    }
    // Rows as a window holds them: the given ones, the rest of the capacity cleared.
    static shell::Table_Rows Full(const shell::Setup_Window_Description& window, shell::Table_Rows rows)
    {
        const shell::Table_Description& table = window.File.Tables[0];
        for (int r = int(rows.size()) + 1; r <= table.Capacity; ++r)
            rows.push_back(table.Cleared_Row(r));
        return rows;
    }
    TempDir Dir;
};
