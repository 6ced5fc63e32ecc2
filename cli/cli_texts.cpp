#include "cli/cli_texts.h"

namespace {

const char* const CHINESE[] = {VELMORRA_CLI_TEXTS(VELMORRA_TEXT_SOURCE)};

// Value names in capitals, as manual pages write them; counts after a colon, so that none needs
// a plural ending.
constexpr TextEntry<CliText> ENGLISH[] = {
    {CliText::None, ""},
    // the options and their values
    {CliText::ValueMethod, "METHOD"},
    {CliText::ValueType, "TYPE"},
    {CliText::ValueVariables, "VARS"},
    {CliText::ValueRegion, "START:END"},
    {CliText::ValueOrders, "TYPE=INDEX,…"},
    {CliText::ValueReading, "READING"},
    {CliText::ValueTolerance, "TOLERANCE"},
    {CliText::ValueScales, "SCALE,…"},
    {CliText::ValueCount, "N"},
    {CliText::ValueShare, "P"},
    {CliText::ValueFile, "FILE"},
    {CliText::ValueFormat, "FORMAT"},
    {CliText::ValueLanguage, "LANG"},
    {CliText::OptionHelp, "show this help"},
    {CliText::OptionLanguage,
     "the language of the output, en or zh (default: English for an English locale in "
     "LC_ALL, LC_MESSAGES or LANG, else Chinese)"},
    {CliText::OptionMethod, "ALL (default: all six in turn), BCC, SUM, LRC, CRC16, CRC16S or CRC32"},
    {CliText::OptionMinLength, "report only covered ranges of at least N bytes (default 1)"},
    {CliText::OptionConsensus, "instead of listing each frame, find the checksum rules that hold in all frames"},
    {CliText::OptionConsensusShare,
     "with --consensus: list the rules that hold in at least P% of the frames (default "
     "100)"},
    {CliText::OptionSend, "decode in the sending layout (default)"},
    {CliText::OptionReceive, "decode in the receiving layout"},
    {CliText::OptionFull,
     "full decode (3GPP TS 23.040/23.038) of any PDU, with or without the SMS centre address, "
     "field by field"},
    {CliText::OptionJoin,
     "join the parts of concatenated messages (same address and reference) in order, and "
     "list the missing parts"},
    {CliText::OptionType, "short, ushort, long, ulong, float or double (required)"},
    {CliText::OptionBytes,
     "the input is a byte array (hex, at most 8 bytes, low byte first) to convert to the "
     "number; otherwise the input is the number. Arguments that are each one byte make "
     "one array"},
    {CliText::OptionVariables,
     "the list of variables, e.g. UCHAR,UINT,FLOAT,ANSI:5: types UCHAR, CHAR, UINT, INT, "
     "FLOAT, DWORD, LONG, ANSI, BCD, each with an optional :LENGTH (default: the length "
     "the window fills in for the type)"},
    {CliText::OptionRegion,
     "first and last byte of the region to decode, counted from 1 (default: the whole "
     "frame; what lies past the frame's end is cut off)"},
    {CliText::OptionOrders,
     "the byte order of each type, counted from 0, e.g. UINT=1,FLOAT=3: for UINT and INT "
     "0 FF1 FF2, 1 FF2 FF1; for FLOAT, DWORD and LONG 0 FF1 FF2 FF3 FF4, 1 FF4 FF3 FF2 "
     "FF1, 2 FF2 FF1 FF4 FF3, 3 FF3 FF4 FF1 FF2 (default as in the window: UINT=0,INT=0,FLOAT=3,DWORD=3,LONG=3)"},
    {CliText::OptionReading, "the reading to find, such as the 230.5 a meter displays (required)"},
    {CliText::OptionTolerance,
     "the difference allowed: absolute, or a percentage of the reading such as 1% (default "
     "0.05)"},
    {CliText::OptionScales,
     "the scale factors to try in turn (default 1,0.1,0.01,0.001: devices often send 230.5 "
     "as 2305)"},
    {CliText::OptionIdentifyShare,
     "list the rules that hold in at least P% of the frames, or of a class's frames where "
     "frames are classed (default 50)"},
    {CliText::OptionTop, "list at most N rules per class (default 10)"},
    {CliText::OptionFile,
     "read from a file, one item per line; may be given more than once, \"-\" is standard "
     "input"},
    {CliText::OptionExtract,
     "take the longest frame out of each line, for logs with time stamps and direction "
     "marks: 01 03, 0x01,0x03, \\x01\\x03, 01-03, 01:03 or unseparated 0103 alike, never "
     "a time stamp; a line without a frame is refused"},
    {CliText::OptionLimit, "at most N bytes per frame (1 to 65535, default 512)"},
    {CliText::OptionFormat, "text (aligned columns, default), csv (RFC 4180, column titles first) or json"},
    // the subcommands: synopsis, summary, description
    {CliText::ChecksumSynopsis, "[OPTIONS] [FRAME…]"},
    {CliText::ChecksumSummary, "checksum analysis: the byte ranges followed by their own check value"},
    {CliText::ChecksumDescription,
     "Tries the chosen checksum method on every contiguous byte range of each frame and "
     "lists the ranges followed by their check value, in the columns of the window's checksum "
     "analysis page; ALL lists the methods one after another.\nWith --consensus, reads "
     "all frames and finds the rules that hold in every frame (or in at least --min-share "
     "of them): the method, the start counted from the first byte and the end counted "
     "from the first or from the last byte, the check value right after the range; ranked "
     "by the frames they hold in, then by the range's length."},
    {CliText::PduSynopsis, "[--send|--receive|--full|--join] [FRAME…]"},
    {CliText::PduSummary, "PDU decoding: the frame decoded as an SMS PDU"},
    {CliText::PduDescription,
     "The PDU view of the window's string formatting page: data starting with 089 is decoded "
     "in the sending or the receiving layout, anything else is \"Not in PDU format\".\nWith "
     "--full, decodes each PDU completely (the form a modem lists, with the SMS centre "
     "address, or the AT+CMGS form without it, told apart by the lengths) and lists every "
     "field with its meaning and its bytes; --format json has English keys. With --join, "
     "joins the parts of each concatenated message among the PDUs into the whole message. "
     "With --extract, takes each line's longest run of hex digits (runs under 7 bytes "
     "do not count)."},
    {CliText::RenderSynopsis, "[FRAME…]"},
    {CliText::RenderSummary, "string formatting: ASCII, UNICODE, decimal, BCD and 3X3X"},
    {CliText::RenderDescription,
     "The views of the window's string formatting page: ASCII, UNICODE in either byte "
     "order, decimal, BCD and the 3X3X conversion."},
    {CliText::ConvertSynopsis, "--type TYPE [--bytes] [INPUT…]"},
    {CliText::ConvertSummary, "data conversion: a number to its bytes in memory and back"},
    {CliText::ConvertDescription,
     "The window's data conversion page: converts a number to its byte array (low byte "
     "first, floating point as IEEE 754), or with --bytes the array to the number; the "
     "checks and messages are the window's."},
    {CliText::DecodeSynopsis, "--vars VARS [--region START:END] [--order TYPE=INDEX,…] [FRAME…]"},
    {CliText::DecodeSummary, "byte data analysis: variables decoded by type and byte order"},
    {CliText::DecodeDescription,
     "The list refresh of the window's byte data analysis page: the variables are laid "
     "one after another from the region's first byte, a row each with number, type, length, "
     "memory bytes and value; a variable that does not fit shows \"-\" and ends the pass."},
    {CliText::FindSynopsis, "--value READING [--tolerance TOLERANCE] [--scales SCALE,…] [FRAME…]"},
    {CliText::FindSummary,
     "find a value: where a known reading stands in the frame, in which type and byte "
     "order"},
    {CliText::FindDescription,
     "The value finder of the window's byte data analysis page: reads every byte position "
     "of the frame as each numeric type (UCHAR, CHAR, UINT, INT, FLOAT, DWORD, LONG and "
     "BCD of 1 to 4 bytes) in each of its byte orders, multiplies by each scale factor "
     "and compares with the reading; sorted by the difference, ties putting scale 1, the "
     "first byte order and the wider type first; at most 200 places per frame."},
    {CliText::IdentifySynopsis, "[--min-share P] [--top N] [FRAME…]"},
    {CliText::IdentifySummary, "multi-frame identification: which checksum this device uses"},
    {CliText::IdentifyDescription,
     "Reads all frames (a serial monitor's log, say, with --extract) and finds the checksum "
     "rule: the model (every 8-, 16-, 24- and 32-bit CRC of the CRC catalogue, 8- and "
     "16-bit sums and XORs alone and combined with a constant, Fletcher, Adler, and the "
     "six methods of the checksum analysis page), the covered range's start (counted from "
     "the first byte) and end (counted from the first or the last byte), and the check "
     "value's place (right after the range, possibly followed by a trailer), byte order "
     "and encoding (binary or hex text). Rules are ranked by how far they can be trusted: "
     "\"structural\" rules, whose covered bytes give the same result in every frame, come "
     "last; the others rank by the frames they hold in, the check value's width, the model's "
     "simplicity and the range's length; the frames a rule fails in are listed by line "
     "number. Where no rule holds in all frames, the frames are classed by their first "
     "byte, with rules for each class.\nWhere no model holds in nine frames out of ten, "
     "an unknown CRC is solved: with the check value at the end of the frame (possibly "
     "before a trailer of 1 or 2 bytes; the range starting at byte 1 to 4, or past the "
     "bytes that are the same in every frame), 8, 16 or 32 bits wide in either byte order, "
     "the polynomial, init, xorout and reflection are solved from the frames themselves "
     "and listed as parameters (as in \"CRC-16 (poly 0x8BB7, …)\"); a solution that is a "
     "catalogue model is listed by its catalogue name. Needs at least three frames of "
     "one length (or two pairs of equal length); frames all of different lengths cannot "
     "be solved, and frames over 8192 bytes take no part."},
    // the help texts
    {CliText::ProgramTitle, "%1 %2: analyse communication frames on the command line"},
    {CliText::ProgramUsage, "Usage: %1 <subcommand> [options] [input…]"},
    {CliText::ProgramSubcommands, "Subcommands:"},
    {CliText::ProgramOptions, "Global options (before or after the subcommand):"},
    {CliText::ProgramFooter,
     "Run \"%1 <subcommand> --help\" for the usage of a subcommand.\nInput is the arguments, "
     "or each line of files and of standard input (\"-\"); output is UTF-8.\nExit status: "
     "0 all input read; 1 some input line refused (the others processed as usual); 2 usage "
     "error or unreadable file."},
    {CliText::CommandUsage, "Usage: %1 %2 %3"},
    {CliText::CommandFrameInput,
     "Each argument is one frame of hex data (the window's notation: two digits a byte, "
     "blanks optional); arguments that are each one byte make one frame (01 03 00 00 00 "
     "0A C5 CD without quotes), several frames are quoted one per argument, as in \"01 "
     "03 00 00 00 0A C5 CD\" \"68 01 02 03 06 16\". \"-\" or --file reads a frame from each "
     "line; without arguments standard input is read. A refused line is reported on standard "
     "error as \"line N: <message>\", and the other lines are processed as usual."},
    {CliText::CommandLineInput,
     "Each argument is one input; \"-\" or --file reads one from each line; without arguments "
     "standard input is read. A refused line is reported on standard error as \"line N: "
     "<message>\"."},
    {CliText::CommandOptions, "Options:"},
    // usage errors
    {CliText::UnknownSubcommand, "%1: unknown subcommand %2\nRun \"%1 --help\" for the subcommands."},
    {CliText::UsageError, "%1 %2: %3\nRun \"%1 %2 --help\" for its usage."},
    {CliText::OutOfMemory, "%1: out of memory, stopped"},
    {CliText::UnexpectedError, "%1: unexpected error, stopped: %2"},
    {CliText::UnexpectedErrorUnknown, "%1: unexpected error, stopped"},
    {CliText::UnknownLanguage, "%1: unknown language %2 (use en or zh)"},
    {CliText::UnknownOption, "unknown option %1"},
    {CliText::OptionWithoutValue, "option %1 takes no value"},
    {CliText::OptionNeedsValue, "option %1 needs a value"},
    {CliText::OptionNotWhole, "option %1 takes a whole number from %2 to %3: %4"},
    {CliText::UnknownFormat, "unknown output format %1 (use text, csv or json)"},
    {CliText::UnknownMethod, "unknown checksum method %1 (use ALL, BCC, SUM, LRC, CRC16, CRC16S or CRC32)"},
    {CliText::ShareRange, "--min-share takes a percentage above 0 and at most 100: %1"},
    {CliText::ShareWithoutConsensus, "--min-share works only with --consensus"},
    {CliText::BothDirections, "--send and --receive exclude each other"},
    {CliText::FullWithDirection, "--full and --join cannot be used with --send or --receive"},
    {CliText::CsvFullAndJoin, "--format csv works with only one of --full and --join"},
    {CliText::MissingType, "--type is missing (short, ushort, long, ulong, float or double)"},
    {CliText::UnknownType, "unknown type %1 (use short, ushort, long, ulong, float or double)"},
    {CliText::MissingVariables, "--vars is missing (e.g. UCHAR,UINT,FLOAT,ANSI:5)"},
    {CliText::UnknownVariable,
     "unknown variable %1 (the types are UCHAR, CHAR, UINT, INT, FLOAT, DWORD, LONG, ANSI "
     "or BCD, with an optional :LENGTH)"},
    {CliText::VariableLengthNotWhole, "the length of variable %1 must be a whole number: %2"},
    {CliText::BadOrder, "--order: %1 must be TYPE=INDEX, with TYPE one of UINT, INT, FLOAT, DWORD or LONG"},
    {CliText::OrderNotWhole, "--order %1: the index must be a whole number: %2"},
    {CliText::OrderRange, "--order %1: the index must be 0 to %2"},
    {CliText::RegionShape, "--region takes START:END, bytes counted from 1: %1"},
    {CliText::RegionStartNotWhole, "--region: the start must be a whole number: %1"},
    {CliText::RegionEndNotWhole, "--region: the end must be a whole number: %1"},
    {CliText::RegionOrder, "--region: the start counts from 1 and must not lie past the end: %1"},
    {CliText::OptionRefused, "%1: %2"},
    {CliText::MissingReading, "--value is missing (the reading to find)"},
    {CliText::NegativeTolerance, "--tolerance must not be negative: %1"},
    // input
    {CliText::CannotRead, "cannot read file %1: %2"},
    {CliText::RefusedLine, "line %1: %2"},
    {CliText::ArgumentIsFile, "(%1 is a file: read files with --file %1)"},
    {CliText::NoFrameByteAnalysis, "Please enter the hex data first!"},
    {CliText::NoFrame, "Please enter data"},
    // output
    {CliText::FrameHeading, "line %1: %2"},
    {CliText::ColumnLine, "Line"},
    {CliText::ColumnFrame, "Frame"},
    {CliText::ColumnInput, "Input"},
    {CliText::ColumnNumber, "No."},
    {CliText::ColumnRule, "Rule"},
    {CliText::ColumnMethod, "Method"},
    {CliText::ColumnStart, "Start"},
    {CliText::ColumnEnd, "End"},
    {CliText::ColumnEndFrom, "End from"},
    {CliText::ColumnHeld, "Held"},
    {CliText::ColumnShare, "Share (%)"},
    {CliText::ColumnPdu, "PDU"},
    {CliText::ColumnAscii, "ASCII"},
    {CliText::ColumnUnicodeHighFirst, "UNICODE (FF1FF2)"},
    {CliText::ColumnUnicodeLowFirst, "UNICODE (FF2FF1)"},
    {CliText::ColumnDecimal, "Decimal"},
    {CliText::ColumnBcd, "BCD (as hex)"},
    {CliText::Column3x3x, "3X3X"},
    {CliText::ColumnNumberBox, "Number"},
    {CliText::ColumnArray, "Array"},
    {CliText::ColumnOrder, "Byte order"},
    {CliText::ColumnModel, "Model"},
    {CliText::ColumnTrailer, "Trailer bytes"},
    {CliText::ColumnEncoding, "Encoding"},
    {CliText::ColumnStructural, "Structural"},
    {CliText::ColumnFrames, "Frames"},
    {CliText::ColumnFailing, "Failing lines"},
    {CliText::ColumnClass, "First byte"},
    {CliText::ConsensusEvery, "Frames: %1; rules that hold in every frame: %2"},
    {CliText::ConsensusShare, "Frames: %1; rules that hold in at least %3% of them: %2"},
    {CliText::ValueNotFound, "Value not found"},
    {CliText::ValueFoundMore, "Found in %1 places, the first %2 shown"},
    {CliText::PduFieldsCsv, "Line,Field,Name,Offset,Length,State,Value,Description"},
    {CliText::MessagesCsv, "Message,Type,Address,Reference,Parts,Part lines,Missing parts,Text"},
};
static_assert(IsCompleteTable(ENGLISH, CLI_TEXT_COUNT));

} // namespace

const char* CliTextOf(CliText id, TextLanguage language)
{
    return PickText(id, language, CHINESE, ENGLISH);
}

const char* CliTextOf(CliText id)
{
    return CliTextOf(id, CurrentTextLanguage());
}

std::string CliFormat(CliText id, std::initializer_list<std::string_view> args)
{
    return SubstituteText(CliTextOf(id), args);
}
