#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "distributions/ModelParameter.h"
#include "document/ModelFile.h"
#include "engine/NumberText.h"
#include "support/ScriptedDialogs.h"

namespace corvanta::testing {

// The cells of "a|b|c", padded with empty ones to at least `count`.
inline std::vector<std::string> Cells(const std::string& row, std::size_t count = 0) {
    std::vector<std::string> cells(1);
    for (char c : row)
        if (c == '|')
            cells.emplace_back();
        else
            cells.back().push_back(c);
    if (cells.size() < count) cells.resize(count);
    return cells;
}

// A record from "Nombre|Distrib|Valor|a|b|Grados|Lecturas|Unidad|Desc|Sensib|Init"; cells left
// out are empty, Sensib 0 and Init T.
inline ModelParameter Q(const std::string& row) {
    const std::vector<std::string> c = Cells(row, 11);
    return {c[0], c[7], c[8],         std::atoi(c[1].c_str()),           c[2], c[6], c[3],
            c[4], c[5], c[10] != "F", std::strtod(c[9].c_str(), nullptr)};
}

// The same row as record n of a file: each field between its tags, in the file's order.
inline std::string RecordText(int n, const std::string& row) {
    std::vector<std::string> c = Cells(row, 11);
    c[10] = c[10].empty() ? "T" : c[10];
    c[9] = c[9].empty() ? "0" : c[9];
    // clang-format off
    const std::pair<const char*, int> fields[] = {{"ParNombre", 0}, {"ParUnidad", 7}, {"ParDesc", 8},
        {"ParDistrib", 1}, {"ParValor", 2}, {"ParLecturas", 6}, {"Par_a", 3}, {"Par_b", 4},
        {"ParGrados", 5}, {"ParInit", 10}, {"ParSensib", 9}};
    // clang-format on
    std::string text = "%Par" + std::to_string(n) + "%\r\n";
    for (const auto& [tag, i] : fields)
        text += std::string("%") + tag + "%\r\n" + c[i] + "\r\n%/" + tag + "%\r\n";
    return text + "%/Par" + std::to_string(n) + "%\r\n";
}

// The head of a model file: title "t", no description, the equations, then the records.
inline std::string ModelHead(const std::string& equations, const std::string& records) {
    return "%Titulo%\r\nt\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n%Modelo%\r\n" + equations +
           "\r\n%/Modelo%\r\n" + records;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline const MessageTexts& BuiltInTexts() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

inline std::optional<OpenedModel> Open(const std::string& text, ScriptedDialogs& dialogs,
                                       const std::string& path = "/models/m.cvm") {
    return ApplyModelText(text, path, BuiltInTexts(), dialogs);
}

inline const char* const kSXReadings = "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n";

// Every kind of quantity: the output, an intermediate, the sixteen distributions (n4's a left
// from an earlier Normal), Experimental readings in all five modes with what Apply computes from
// them, and one quantity still without a distribution; Windows-1252 text throughout.
inline ModelDocument AllKindsDocument() {
    ModelDocument d;
    d.Title = "Calibraci\xF3n de una masa de 1 \xB5g";
    d.Description = "First line\r\nSecond line \xB1 0.1 \xB5m\r\n\r\nAfter an empty line\r\n";
    d.ModelText =
        "y = k + n1 + n2 + n3 + n4 + n5 + n6 + n7 + n8 + n9 + n10 + n11 + n12 + n13 + "
        "n14 + n15 + n16 + r1 + r2 + r3 + r4 + r5\r\nk = 2*m\r\n";
    // clang-format off
    for (const std::string& row : std::vector<std::string>{"y|19", "k|18",
             "n1|1|10|0.1||||\xB5m|Length \xB1 tolerance|0.5",
             "n2|2|5|0.5||||\xB0" "C|Temperatura del ba\xF1o|0.333333333333333",
             "n3|3|-1.5|0.25||||||1E-6", "n4|4|9.80665|0.1||||||2.5E15", "n5|5|2|||||||-0.125",
             "n6|6", "n7|7|2|3", "n8|8|4|0", "n9|9|3.5", "n10|10|10|0.3", "n11|11|5|0.4",
             "n12|12|2", "n13|13", "n14|14|1.5", "n15|15|3", "n16|16|1|0.2",
             "r1|17|10.2|0.126741723112509|Normal|2|Directa\r\n10.1\r\n10.3\r\n10.2\r\n|||"
             "0.0123456789012345",
             std::string("r2|17|0.25|0.0500000000000007|Student|1|") + kSXReadings,
             "r3|17|4.075|0.16206893385673|Normal|1|"
             "SXXS\r\n1.0\r5.1\r5.3\r1.2\r\n1.1\r5.0\r5.2\r1.0\r\n",
             "r4|17|1.98492063492063|0.0425991647629195|Student|2|"
             "X/S\r\n2\r4\r\n2\r4.1\r\n2.1\r4\r\n",
             "r5|17|3.05|0.0500000000000001|Student|1|SXS\r\n1.0\r5.0\r3.0\r\n1.1\r5.2\r3.1\r\n",
             "m|0|||||||||F"})
        d.Parameters.push_back(Q(row));
    // clang-format on
    return d;
}

}  // namespace corvanta::testing

namespace corvanta {
inline void PrintTo(const ModelParameter& p, std::ostream* out) {  // every field on one line
    *out << "{" << p.Nombre << "|" << p.Unidad << "|" << p.Desc << "|" << p.Distrib << "|"
         << p.Valor << "|" << p.Lecturas << "|" << p.a << "|" << p.b << "|" << p.Grados << "|"
         << (p.Init ? "T" : "F") << "|" << FormatGeneral(p.Sensib, 17) << "}";
}
}  // namespace corvanta
