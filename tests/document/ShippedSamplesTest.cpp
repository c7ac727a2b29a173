// The sample models are files the program itself writes: opening and saving
// one gives its bytes back, and every experimental quantity holds what Apply
// computes from its readings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "captions/Captions.h"
#include "distributions/Readings.h"
#include "document/ModelFile.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

class ShippedSample : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedSample, IsWhatTheProgramWrites) {
    testing::ScriptedDialogs dialogs;
    const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    const std::string path = std::string(CORVANTA_SOURCE_DIR "/samples/") + GetParam();
    const auto text = ReadModelFile(path, dialogs);
    ASSERT_TRUE(text);
    const auto opened = ApplyModelText(*text, path, texts, dialogs);
    ASSERT_TRUE(opened);
    EXPECT_EQ(ComposeModelText(opened->Document), *text);

    int experimental = 0;
    for (const ModelParameter& record : opened->Document.Parameters) {
        if (record.Kind() != DistributionKind::Experimental) continue;
        ++experimental;
        ExperimentalEntry entry;
        const auto mode = ReadingModeFromKeyword(ParseReadings(record.Lecturas).Keyword);
        ASSERT_TRUE(mode) << record.Nombre;
        entry.Mode = *mode;
        entry.Table = record.Lecturas;
        entry.Student = record.b == "Student";
        const auto applied = ApplyExperimental(entry, record, texts, dialogs);
        ASSERT_TRUE(applied) << record.Nombre;
        EXPECT_EQ(applied->Valor, record.Valor) << record.Nombre;
        EXPECT_EQ(applied->a, record.a) << record.Nombre;
        EXPECT_EQ(applied->b, record.b) << record.Nombre;
        EXPECT_EQ(applied->Grados, record.Grados) << record.Nombre;
    }
    EXPECT_TRUE(dialogs.Log.empty());
    if (GetParam() == "roundtrip-all-kinds.cvm") {
        EXPECT_EQ(experimental, 5);
    }
}

std::vector<std::string> Samples() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(CORVANTA_SOURCE_DIR "/samples"))
        if (entry.path().extension() == ".cvm") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Samples, ShippedSample, ::testing::ValuesIn(Samples()),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.size() - 4);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace corvanta
