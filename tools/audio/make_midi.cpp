// Turns a song written in a small text notation into a Standard MIDI File (type 1).
//
// Usage: make_midi <song file> <output .mid>
//
// Notation (one statement a line, '#' starts a comment):
//   title <words>                      name of the song (written as the track name)
//   tempo <bpm>                        quarter notes per minute at the start
//   time <n>/<d>                       metre; every '|' must fall on a bar line
//   track <name> channel <0-15> program <0-127> [volume v] [pan p] [velocity v]
//         [gate percent] [transpose semitones] [reverb r] [chorus c]
//                                      an instrument (General MIDI program, 0-based)
//   section <name> ... end             a block of music; inside it:
//     <track>: tokens                  notes of one track (several lines append)
//     tempo <bpm>                      tempo change at the start of the section
//   play <section> ...                 appends sections to the song, in order
// Tokens: c4/4 (note, octave, length: 1 2 4 8 16 32, '.' dotted, 't' triplet,
// '+' adds lengths: c4/2+8), f#5 bb3 (sharps and flats), r/2 (rest),
// [c4 e4 g4]/2 (chord), v80 (velocity from here on), '|' (bar check),
// { tokens }*3 (repeat). A length left out is the previous one of that track
// in the section.
// Every track heard in a section must fill the same length.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int ppq = 480;  // ticks per quarter note

struct track_def {
    std::string name;
    int channel = 0, program = 0, volume = 100, pan = 64, velocity = 80, gate = 92, transpose = 0;
    int reverb = -1, chorus = -1;
};

struct note_event {
    long on, off;
    int key, velocity;
};

struct section_def {
    std::string name;
    int tempo = 0;                                      // 0: no change
    std::map<std::string, std::vector<std::string>> lines;  // track -> token lines
    int line = 0;
};

std::string the_file;

[[noreturn]] void fail(int line, const std::string &what)
{
    std::fprintf(stderr, "%s:%d: %s\n", the_file.c_str(), line, what.c_str());
    std::exit(1);
}

int parse_int(const std::string &s, int line, int lo, int hi, const char *what)
{
    char *end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end || v < lo || v > hi)
        fail(line, std::string("bad ") + what + ": " + s);
    return (int)v;
}

// "4", "8.", "2+8", "8t" -> ticks
long parse_length(const std::string &s, int line)
{
    long total = 0;
    std::stringstream parts(s);
    std::string part;
    while (std::getline(parts, part, '+')) {
        bool dotted = false, triplet = false;
        while (!part.empty() && (part.back() == '.' || part.back() == 't')) {
            (part.back() == '.' ? dotted : triplet) = true;
            part.pop_back();
        }
        int d = parse_int(part, line, 1, 32, "length");
        if (d != 1 && d != 2 && d != 4 && d != 8 && d != 16 && d != 32)
            fail(line, "length must be 1, 2, 4, 8, 16 or 32: " + part);
        long ticks = ppq * 4 / d;
        if (dotted)
            ticks = ticks * 3 / 2;
        if (triplet)
            ticks = ticks * 2 / 3;
        total += ticks;
    }
    if (total <= 0)
        fail(line, "empty length");
    return total;
}

// "c4" "f#5" "bb3" -> MIDI key (c4 = 60)
int parse_pitch(const std::string &s, int line)
{
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    if (s.size() < 2 || s[0] < 'a' || s[0] > 'g')
        fail(line, "bad note: " + s);
    int key = base[s[0] - 'a'];
    size_t i = 1;
    while (i < s.size() && (s[i] == '#' || s[i] == 'b')) {
        key += s[i] == '#' ? 1 : -1;
        i++;
    }
    int octave = parse_int(s.substr(i), line, 0, 8, "octave");
    key += (octave + 1) * 12;
    if (key < 0 || key > 127)
        fail(line, "note out of range: " + s);
    return key;
}

std::vector<std::string> split_tokens(const std::string &text)
{
    std::vector<std::string> out;
    std::string cur;
    int depth = 0;  // keep chords "[c4 e4]/2" in one token
    for (char c : text) {
        if (c == '[')
            depth++;
        if (c == ']')
            depth--;
        if (std::isspace((unsigned char)c) && depth == 0) {
            if (!cur.empty())
                out.push_back(cur);
            cur.clear();
        } else if ((c == '{' || c == '|') && depth == 0) {
            if (!cur.empty())
                out.push_back(cur);
            out.push_back(std::string(1, c));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        out.push_back(cur);
    return out;
}

// Expands "{ ... }*n" repeats (they may nest).
std::vector<std::string> expand(const std::vector<std::string> &in, size_t &pos, int line, bool inner)
{
    std::vector<std::string> out;
    while (pos < in.size()) {
        const std::string &t = in[pos++];
        if (t == "{") {
            std::vector<std::string> body = expand(in, pos, line, true);
            const std::string &close = in[pos - 1];
            int times = parse_int(close.substr(2), line, 1, 64, "repeat count");
            for (int k = 0; k < times; k++)
                out.insert(out.end(), body.begin(), body.end());
        } else if (t.rfind("}*", 0) == 0) {
            if (!inner)
                fail(line, "'}' without '{'");
            return out;
        } else {
            out.push_back(t);
        }
    }
    if (inner)
        fail(line, "'{' without '}*n'");
    return out;
}

struct song {
    std::string title = "untitled";
    int tempo = 80, bar_num = 4, bar_den = 4;
    std::vector<track_def> tracks;
    std::map<std::string, section_def> sections;
    std::vector<std::pair<std::string, int>> order;  // section name, line of the play statement
};

int track_index(const song &s, const std::string &name)
{
    for (size_t i = 0; i < s.tracks.size(); i++)
        if (s.tracks[i].name == name)
            return (int)i;
    return -1;
}

song read_song(const std::string &path)
{
    std::ifstream in(path);
    if (!in)
        fail(0, "cannot open");
    song s;
    std::string text;
    int line_no = 0;
    section_def *open = nullptr;
    while (std::getline(in, text)) {
        line_no++;
        // '#' is also a sharp: a comment starts only at a '#' at the line start or after a blank
        for (size_t i = 0; i < text.size(); i++)
            if (text[i] == '#' && (i == 0 || std::isspace((unsigned char)text[i - 1]))) {
                text.erase(i);
                break;
            }
        std::istringstream line(text);
        std::string key;
        if (!(line >> key))
            continue;
        if (open) {
            if (key == "end") {
                open = nullptr;
            } else if (key == "tempo") {
                std::string v;
                line >> v;
                open->tempo = parse_int(v, line_no, 20, 300, "tempo");
            } else if (key.back() == ':') {
                std::string name = key.substr(0, key.size() - 1);
                if (track_index(s, name) < 0)
                    fail(line_no, "unknown track " + name);
                std::string rest;
                std::getline(line, rest);
                open->lines[name].push_back(std::to_string(line_no) + "\n" + rest);
            } else {
                fail(line_no, "expected '<track>:', 'tempo' or 'end' in a section");
            }
            continue;
        }
        if (key == "title") {
            std::getline(line, s.title);
            s.title.erase(0, s.title.find_first_not_of(' '));
        } else if (key == "tempo") {
            std::string v;
            line >> v;
            s.tempo = parse_int(v, line_no, 20, 300, "tempo");
        } else if (key == "time") {
            std::string v;
            line >> v;
            size_t slash = v.find('/');
            if (slash == std::string::npos)
                fail(line_no, "time <n>/<d>");
            s.bar_num = parse_int(v.substr(0, slash), line_no, 1, 16, "metre");
            s.bar_den = parse_int(v.substr(slash + 1), line_no, 1, 16, "metre");
            if (s.bar_den != 2 && s.bar_den != 4 && s.bar_den != 8)
                fail(line_no, "metre denominator must be 2, 4 or 8");
        } else if (key == "track") {
            track_def t;
            if (!(line >> t.name) || track_index(s, t.name) >= 0)
                fail(line_no, "track needs a new name");
            std::string field, value;
            bool has_channel = false, has_program = false;
            while (line >> field >> value) {
                if (field == "channel") { t.channel = parse_int(value, line_no, 0, 15, "channel"); has_channel = true; }
                else if (field == "program") { t.program = parse_int(value, line_no, 0, 127, "program"); has_program = true; }
                else if (field == "volume") t.volume = parse_int(value, line_no, 0, 127, "volume");
                else if (field == "pan") t.pan = parse_int(value, line_no, 0, 127, "pan");
                else if (field == "velocity") t.velocity = parse_int(value, line_no, 1, 127, "velocity");
                else if (field == "gate") t.gate = parse_int(value, line_no, 10, 100, "gate");
                else if (field == "transpose") t.transpose = parse_int(value, line_no, -36, 36, "transpose");
                else if (field == "reverb") t.reverb = parse_int(value, line_no, 0, 127, "reverb");
                else if (field == "chorus") t.chorus = parse_int(value, line_no, 0, 127, "chorus");
                else fail(line_no, "unknown track field " + field);
            }
            if (!has_channel || !has_program)
                fail(line_no, "track needs channel and program");
            for (const track_def &o : s.tracks)
                if (o.channel == t.channel)
                    fail(line_no, "channel already used by track " + o.name);
            s.tracks.push_back(t);
        } else if (key == "section") {
            std::string name;
            if (!(line >> name) || s.sections.count(name))
                fail(line_no, "section needs a new name");
            open = &s.sections[name];
            open->name = name;
            open->line = line_no;
        } else if (key == "play") {
            std::string name;
            while (line >> name)
                s.order.push_back({name, line_no});
        } else {
            fail(line_no, "unknown statement " + key);
        }
    }
    if (open)
        fail(line_no, "section " + open->name + " has no 'end'");
    if (s.tracks.empty() || s.order.empty())
        fail(line_no, "a song needs tracks and a play list");
    return s;
}

// Lays one track's lines of a section out from time 'start'; returns the length filled.
long lay_out(const song &s, const track_def &t, const std::vector<std::string> &lines, long start,
             std::vector<note_event> &notes)
{
    long bar = (long)ppq * 4 * s.bar_num / s.bar_den;
    long at = start;
    int velocity = t.velocity;
    long length = ppq;  // a quarter until the section says otherwise; carries over from line to line
    for (const std::string &numbered : lines) {
        size_t nl = numbered.find('\n');
        int line = std::atoi(numbered.substr(0, nl).c_str());
        std::vector<std::string> raw = split_tokens(numbered.substr(nl + 1));
        size_t pos = 0;
        std::vector<std::string> tokens = expand(raw, pos, line, false);
        for (const std::string &tok : tokens) {
            if (tok == "|") {
                if ((at - start) % bar != 0)
                    fail(line, "bar line off the beat in track " + t.name + " (" +
                                   std::to_string((at - start) % bar) + " ticks into a bar)");
                continue;
            }
            if (tok[0] == 'v' && tok.size() > 1 && std::isdigit((unsigned char)tok[1])) {
                velocity = parse_int(tok.substr(1), line, 1, 127, "velocity");
                continue;
            }
            std::string body = tok, len;
            size_t slash = tok.rfind('/');
            if (slash != std::string::npos && tok.find(']', slash) == std::string::npos) {
                body = tok.substr(0, slash);
                len = tok.substr(slash + 1);
            }
            if (!len.empty())
                length = parse_length(len, line);
            std::vector<int> keys;
            if (body == "r") {
            } else if (body.size() > 1 && body[0] == '[' && body.back() == ']') {
                std::istringstream chord(body.substr(1, body.size() - 2));
                std::string n;
                while (chord >> n)
                    keys.push_back(parse_pitch(n, line) + t.transpose);
                if (keys.empty())
                    fail(line, "empty chord");
            } else {
                keys.push_back(parse_pitch(body, line) + t.transpose);
            }
            long sounding = std::max(1L, length * t.gate / 100);
            for (int k : keys) {
                if (k < 0 || k > 127)
                    fail(line, "transposed note out of range");
                notes.push_back({at, at + sounding, k, velocity});
            }
            at += length;
        }
    }
    return at - start;
}

void put_var(std::vector<uint8_t> &out, unsigned long v)
{
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7f;
    while (v >>= 7)
        buf[n++] = 0x80 | (v & 0x7f);
    while (n)
        out.push_back(buf[--n]);
}

struct timed {
    long tick;
    int order;  // note-offs before note-ons at the same tick, so repeated notes retrigger
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> chunk(const std::vector<timed> &evs_in, long end_tick)
{
    std::vector<timed> evs = evs_in;
    std::stable_sort(evs.begin(), evs.end(), [](const timed &a, const timed &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> data;
    long now = 0;
    for (const timed &e : evs) {
        put_var(data, e.tick - now);
        now = e.tick;
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    }
    put_var(data, end_tick - now);
    data.insert(data.end(), {0xff, 0x2f, 0x00});
    std::vector<uint8_t> out = {'M', 'T', 'r', 'k'};
    uint32_t n = (uint32_t)data.size();
    out.insert(out.end(), {(uint8_t)(n >> 24), (uint8_t)(n >> 16), (uint8_t)(n >> 8), (uint8_t)n});
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> tempo_bytes(int bpm)
{
    uint32_t us = 60000000u / (uint32_t)bpm;
    return {0xff, 0x51, 0x03, (uint8_t)(us >> 16), (uint8_t)(us >> 8), (uint8_t)us};
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_midi <song file> <output .mid>\n");
        return 1;
    }
    the_file = argv[1];
    song s = read_song(the_file);

    std::vector<std::vector<note_event>> notes(s.tracks.size());
    std::vector<timed> conductor;
    std::vector<uint8_t> name(s.title.begin(), s.title.end());
    std::vector<uint8_t> meta = {0xff, 0x03};
    put_var(meta, name.size());
    meta.insert(meta.end(), name.begin(), name.end());
    conductor.push_back({0, 0, meta});
    int den_pow = s.bar_den == 2 ? 1 : s.bar_den == 4 ? 2 : 3;
    conductor.push_back({0, 0, {0xff, 0x58, 0x04, (uint8_t)s.bar_num, (uint8_t)den_pow, 24, 8}});
    conductor.push_back({0, 0, tempo_bytes(s.tempo)});

    long at = 0;
    double seconds = 0;
    int bpm = s.tempo;
    for (const auto &entry : s.order) {
        auto found = s.sections.find(entry.first);
        if (found == s.sections.end())
            fail(entry.second, "unknown section " + entry.first);
        const section_def &sec = found->second;
        if (sec.tempo && sec.tempo != bpm) {
            bpm = sec.tempo;
            conductor.push_back({at, 0, tempo_bytes(bpm)});
        }
        long length = -1;
        std::string first_track;
        for (const auto &tl : sec.lines) {
            int ti = track_index(s, tl.first);
            long l = lay_out(s, s.tracks[ti], tl.second, at, notes[ti]);
            if (length >= 0 && l != length)
                fail(sec.line, "section " + sec.name + ": track " + tl.first + " lasts " + std::to_string(l) +
                                   " ticks but " + first_track + " lasts " + std::to_string(length));
            length = l;
            first_track = tl.first;
        }
        if (length <= 0)
            fail(sec.line, "section " + sec.name + " is empty");
        at += length;
        seconds += length / (double)ppq * 60.0 / bpm;
    }

    std::vector<std::vector<uint8_t>> chunks;
    chunks.push_back(chunk(conductor, at));
    for (size_t i = 0; i < s.tracks.size(); i++) {
        const track_def &t = s.tracks[i];
        uint8_t ch = (uint8_t)t.channel;
        std::vector<timed> evs;
        std::vector<uint8_t> tn = {0xff, 0x03};
        put_var(tn, t.name.size());
        tn.insert(tn.end(), t.name.begin(), t.name.end());
        evs.push_back({0, 0, tn});
        evs.push_back({0, 0, {(uint8_t)(0xc0 | ch), (uint8_t)t.program}});
        evs.push_back({0, 0, {(uint8_t)(0xb0 | ch), 7, (uint8_t)t.volume}});
        evs.push_back({0, 0, {(uint8_t)(0xb0 | ch), 10, (uint8_t)t.pan}});
        if (t.reverb >= 0)
            evs.push_back({0, 0, {(uint8_t)(0xb0 | ch), 91, (uint8_t)t.reverb}});
        if (t.chorus >= 0)
            evs.push_back({0, 0, {(uint8_t)(0xb0 | ch), 93, (uint8_t)t.chorus}});
        for (const note_event &n : notes[i]) {
            evs.push_back({n.on, 2, {(uint8_t)(0x90 | ch), (uint8_t)n.key, (uint8_t)n.velocity}});
            evs.push_back({n.off, 1, {(uint8_t)(0x80 | ch), (uint8_t)n.key, 0}});
        }
        chunks.push_back(chunk(evs, at));
    }

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    uint16_t ntracks = (uint16_t)chunks.size();
    file.insert(file.end(), {(uint8_t)(ntracks >> 8), (uint8_t)ntracks, (uint8_t)(ppq >> 8), (uint8_t)(ppq & 255)});
    for (const auto &c : chunks)
        file.insert(file.end(), c.begin(), c.end());
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write((const char *)file.data(), (std::streamsize)file.size());
    if (!out) {
        std::fprintf(stderr, "make_midi: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: \"%s\", %.1f s, %zu tracks\n", argv[2], s.title.c_str(), seconds, s.tracks.size());
    return 0;
}
