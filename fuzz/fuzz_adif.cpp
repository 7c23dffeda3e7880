// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ADIF reader and record editor under any input, as `tolka-cli adif`
// runs them. The first byte chooses --replace, --check, --precision and
// --from; the second the size of the chunks the input arrives in.
//
// Properties checked:
// - every field the reader yields is where it says in the input: its '<',
//   its name, and the data it holds;
// - the units the reader yields are the input, in order, byte for byte;
// - the log written is the input with the splices made, and nothing else:
//   removing them gives the input back; under --check nothing is written;
// - every splice writes one well-formed field of the ones adif fills (its
//   declared length that of its data), or removes one: a locator of the
//   Maidenhead layout or a distance with one decimal;
// - the tally counts no more than the records read allow.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/cli/memory_io.h"
#include "adif.h"

namespace {

void check(bool ok, const char *what, std::string_view input)
{
    if (!ok) {
        fprintf(stderr, "property failed: %s\ninput: \"%.*s\"\n", what,
                static_cast<int>(input.size()), input.data());
        abort();
    }
}

bool digits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// "<NAME:LENGTH>VALUE" with an optional blank after, LENGTH the size of
// VALUE, NAME one of the fields adif writes, VALUE what that field holds.
bool well_formed(std::string_view text)
{
    if (text.empty())
        return true; // a field removed
    if (text.back() == ' ')
        text.remove_suffix(1);
    const size_t colon = text.find(':'), close = text.find('>');
    if (text[0] != '<' || colon == std::string_view::npos || close == std::string_view::npos ||
        colon > close || !digits(text.substr(colon + 1, close - colon - 1)))
        return false;
    const std::string_view name = text.substr(1, colon - 1), value = text.substr(close + 1);
    if (std::to_string(value.size()) != text.substr(colon + 1, close - colon - 1))
        return false;
    if (name == "DISTANCE") {
        const size_t point = value.find('.');
        return point != std::string_view::npos && point + 2 == value.size() &&
               digits(value.substr(0, point)) && digits(value.substr(point + 1));
    }
    if (name == "GRIDSQUARE" || name == "MY_GRIDSQUARE")
        return value.size() <= 8 && parse_locator(value, LocatorSystem::Maidenhead);
    if (name == "GRIDSQUARE_EXT" || name == "MY_GRIDSQUARE_EXT")
        return value.size() == 2 && value[0] >= 'A' && value[0] <= 'X' && value[1] >= 'A' &&
               value[1] <= 'X';
    return false;
}

void check_reader(const std::string &input, size_t chunk)
{
    // A unit too large to hold passes its first bytes on early: they and the
    // bytes still held are, together, the input since the last unit.
    StringSource source(input, chunk);
    StringSink passed;
    AdiReader reader(source, &passed);
    AdiUnit unit;
    uint64_t end = 0;
    while (reader.next(unit) == AdiReader::kUnit) {
        check(unit.held_from == end + passed.text.size(), "each unit starts where the last one ended",
              input);
        check(input.compare(end, passed.text.size(), passed.text) == 0,
              "what a unit passed on early is the input's", input);
        passed.text.clear();
        check(input.compare(unit.held_from, unit.bytes.size(), unit.bytes) == 0,
              "a unit's bytes are the input's", input);
        end = unit.held_from + unit.bytes.size();
        for (const AdiField &field : unit.fields) {
            check(field.offset < input.size() && input[field.offset] == '<',
                  "a field opens at its '<'", input);
            check(input.compare(field.offset + 1, field.name_length, field.name) == 0,
                  "a field's name is the input's", input);
            check(!field.kept || input.compare(field.data_offset, field.length, field.data) == 0,
                  "a field's data is the input's", input);
        }
    }
    check(end == input.size(), "the units are the whole input", input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const int kPrecisions[8] = {0, 2, 4, 6, 8, 10, 6, 10};
    static const char *const kFrom[4] = {nullptr, "JN18DT", "48.8,2.3", "FN31PR44LM"};
    Settings settings;
    settings.replace = data[0] & 1;
    settings.check = data[0] & 2;
    const int precision = kPrecisions[(data[0] >> 2) & 7];
    settings.precision_given = precision != 0;
    settings.precision = precision != 0 ? precision : kMaxLocatorLength;
    if (const char *from = kFrom[(data[0] >> 5) & 3]) {
        settings.from = from;
        settings.from_point = parse_point(from, std::nullopt, false).value;
    }
    const size_t chunk = data[1] % 64 + 1;
    const std::string input(reinterpret_cast<const char *>(data) + 2, size - 2);

    check_reader(input, chunk);

    StringSource source(input, chunk);
    StringSink out, err;
    std::vector<Splice> splices;
    AdifTally tally;
    {
        Messages messages(err, "tolka-cli");
        tally = convert_adif(source, settings.check ? nullptr : &out, settings, messages, &splices);
    }
    check(!tally.failed, "a log in memory is read and written", input);
    if (settings.check) {
        check(out.text.empty() && splices.empty(), "--check writes nothing", input);
    } else {
        std::string back = out.text;
        for (auto s = splices.rbegin(); s != splices.rend(); ++s) {
            check(s->offset <= back.size() && back.compare(s->offset, s->text.size(), s->text) == 0,
                  "a splice is in the output where it says", input);
            back.replace(s->offset, s->text.size(), s->original);
        }
        check(back == input, "removing the splices gives the input back", input);
        for (const Splice &splice : splices)
            check(well_formed(splice.text), "a splice writes one well-formed field", input);
    }
    check(tally.distances <= tally.records && tally.locators <= 2 * tally.records,
          "no more filled than the records allow", input);
    uint64_t unfilled = 0;
    for (uint64_t n : tally.unfilled)
        unfilled += n;
    check(unfilled + tally.distances <= tally.records, "each record counted once", input);
    return 0;
}
