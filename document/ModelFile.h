#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/Correlations.h"
#include "distributions/ModelParameter.h"
#include "simulation/RunChoices.h"

// The model file: the model document as a text of tagged sections, its
// reading and writing, and the Open, Save model and Save model as commands.
namespace corvanta {

// What the main window edits and a model file holds. Unidad and Desc of each
// record are expected to hold what the parameter table shows.
struct ModelDocument {
    std::string Title;        // one line
    std::string Description;  // lines of text
    std::string ModelText;    // the equations, one per line
    ParameterList Parameters;
    // Written after the records, one pair a line, only when a coefficient is
    // not 0.
    CorrelationList Correlations;
    // Saved after the records in sections of their own, and only when they
    // differ from the defaults; a file without them runs as before.
    RunChoices Choices;
    bool operator==(const ModelDocument&) const = default;
};

// The file text, every line ended by CR LF. The readings text is written as
// held (its cells stay separated by CR); a line end or NUL inside a field
// that is one line in the file is written as a blank, and a NUL in any other
// value likewise, so that the file always reads back whole. A contribution
// that is not finite is written as 0.
std::string ComposeModelText(const ModelDocument& document);

// A document restored from a file, with what "Update parameters" compiled
// from its equations. The window takes all of it in place of its own, clears
// its results as after an update, refreshes the table's detail view and
// shows the Model page.
struct OpenedModel {
    ModelDocument Document;         // equations without their empty lines
    std::string PostfixExpression;  // "" for a model without equations
    bool ParametersReady = false;   // CheckReady of the restored records
};

// Restores a document from a file text (CR LF, CR or LF line ends). Runs
// "Update parameters" on the equations and then takes the file's records in
// their place. Refuses, after telling the user why, a text with a missing
// tag or a field without its value line, a distribution number or
// contribution that is not a number (with the number parser's text), a
// distribution number outside 0 to 23, rejected equations, and records that
// do not name the quantities of the equations one by one in order, and a
// correlations line that does not name two different input quantities and a
// coefficient from -1 to 1, or repeats a pair (naming the line).
// `fileName` names the file in those messages. Nothing is changed on
// refusal: the caller keeps its document.
std::optional<OpenedModel> ApplyModelText(std::string_view text, std::string_view fileName,
                                          const MessageTexts& messages, UserDialogs& dialogs);

// The whole file as bytes, or nothing after showing "Cannot open file" with
// the path in double quotes and the system's reason (also for more than 16
// MiB, "File too large").
std::optional<std::string> ReadModelFile(const std::string& path, UserDialogs& dialogs);

// Replaces the file's content with `text`, through a temporary file in the
// same folder renamed over it, so that a failure never leaves a truncated
// model behind. On failure shows "Cannot create file" with the path in
// double quotes and the system's reason, and returns false.
bool WriteModelFile(const std::string& path, std::string_view text, UserDialogs& dialogs);

// The path with ".cvm" appended when its file name has no extension.
std::string WithModelExtension(const std::string& path);

// "The file" + " " + path + " " + "already exists. Do you want to overwrite
// with updated model?", from the caption texts in force.
std::string OverwriteQuestion(const MessageTexts& messages, std::string_view path);

// The window caption after a save through the dialog.
std::string SavedWindowCaption(std::string_view path);

// The window's file dialogs: each returns the chosen path, or nothing when
// the user cancels.
struct ModelFileDialogs {
    std::function<std::optional<std::string>()> ChooseSavePath;
    std::function<std::optional<std::string>()> ChooseOpenPath;
};

// What a save command did. When Written, FileName becomes the window's
// current file name; WindowCaption is set when the caption must change.
struct SaveOutcome {
    bool Written = false;
    std::string FileName;
    std::optional<std::string> WindowCaption;
};

// Save model: writes to the current file without a question, or, when there
// is none yet, goes on as Save model as.
SaveOutcome SaveModel(const ModelDocument& document, const std::string& currentFileName,
                      const MessageTexts& messages, UserDialogs& dialogs,
                      const ModelFileDialogs& fileDialogs);

// Save model as: asks for a path, asks before replacing an existing file,
// writes.
SaveOutcome SaveModelAs(const ModelDocument& document, const MessageTexts& messages,
                        UserDialogs& dialogs, const ModelFileDialogs& fileDialogs);

// "Save changes to" + " " + the file's name without its folder + "?", or
// the caption "Untitled" in place of the name for a model never saved.
std::string SaveChangesQuestion(const MessageTexts& messages, const std::string& fileName);

// What the question before changes are lost decided: Proceed when the user
// discarded the changes or they were saved; Save is the save it ran.
struct KeepChangesOutcome {
    bool Proceed = false;
    SaveOutcome Save;
};

// Asks SaveChangesQuestion with Save, Discard and Cancel. Save runs Save
// model (Save model as for a model without a file) and proceeds only when it
// wrote the file: a cancelled dialog or a failed write keeps the changes.
// The caller asks only when the document holds changes.
KeepChangesOutcome AskToKeepChanges(const ModelDocument& current,
                                    const std::string& currentFileName,
                                    const MessageTexts& messages, UserDialogs& dialogs,
                                    const ModelFileDialogs& fileDialogs);

// Reads the model file at path and restores it, as Open does once a file is
// chosen; nothing after telling the user why.
std::optional<OpenedModel> OpenModelFile(const std::string& path, const MessageTexts& messages,
                                         UserDialogs& dialogs);

// What Open did: the save it ran first, if any, the opened model, if any,
// and the file it read. The current file name never changes by opening.
struct OpenOutcome {
    SaveOutcome Save;
    std::optional<OpenedModel> Opened;
    std::string Path;  // the file read, with its extension
};

// Open: with changes in the document (modified), first asks
// AskToKeepChanges (Cancel, or a save that wrote nothing, ends the command),
// then asks for a file, reads it and restores it.
OpenOutcome OpenModel(const ModelDocument& current, const std::string& currentFileName,
                      bool modified, const MessageTexts& messages, UserDialogs& dialogs,
                      const ModelFileDialogs& fileDialogs);

}  // namespace corvanta
