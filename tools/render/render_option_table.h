// The options of glasswind-render as one table: each one's name, value, the field it
// sets and its help, read both by the parser and by the --help text.
#pragma once

#include "render_options.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What --video was asked for, resolved against the file name once the mode is known.
struct VideoAsk {
    std::string codec;
    int quality = qualityNotGiven;
    int chroma = chromaNotGiven;
};

enum class ValueKind {
    none,        // an option on its own, such as --bench
    help,        // --help: given whatever else the command line holds
    version,     // --version: given whatever else but --help the command line holds
    number,      // a whole number from min to max, or the word
    videoNumber, // a whole number --video checks against its codec
    size,        // WIDTHxHEIGHT, each from min to max
    codec,       // a codec name --video checks
    file,        // a file or folder name
    soundFile,   // a file name ending in .wav or .flac
};

// The fields of the options a value may go to.
using WholeField = int RenderOptions::*;
using TimeField = int32_t RenderOptions::*;
using VideoNumberField = int VideoAsk::*;
using TextField = std::string RenderOptions::*;

// The value an option takes and where it goes; fields a kind does not use stay empty.
struct OptionValue {
    ValueKind kind = ValueKind::none;
    const char* what = ""; // what the value must be, as a refusal says it
    long min = 0;          // the range of a number or of each side of a size
    long max = 0;
    const char* word = nullptr; // a word taken in place of a number
    int wordValue = 0;          // stored for the word
    // Where the value goes: a number into whole, or time for a demo time; a videoNumber
    // into the ask; a file name into text. A size and a codec have fields of their own.
    WholeField whole = nullptr;
    TimeField time = nullptr;
    VideoNumberField videoNumber = nullptr;
    TextField text = nullptr;
};

struct OptionRow {
    const char* name;
    const char* placeholder; // the value as --help shows it; empty for an option without one
    OptionValue value;
    const char* help; // lines apart by '\n', "{limits}" for the number's range; nullptr: named in another's help
};

// Every option, in the order --help lists them.
extern const OptionRow renderOptionTable[];
extern const size_t renderOptionCount;

// The option of that name; nullptr for one the tool does not know.
const OptionRow* findRenderOption(const std::string& name);

// The ways to call the tool, one a mode; a long one goes on after '\n'. --help and
// the manual page show them.
extern const char* const renderSynopsis[];
extern const size_t renderSynopsisCount;
// What the tool does, in lines apart by '\n'.
extern const char* const renderAbout;

// The option's help, lines apart by '\n', with its range in place of "{limits}".
std::string optionHelp(const OptionRow& row);

// "MIN to MAX", the range of a number or of each side of a size.
std::string optionLimits(const OptionValue& value);
