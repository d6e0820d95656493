// Synthesises the game's sound effects from a text recipe into mono 16-bit WAV files.
//
// Usage: make_sounds <recipe file> <output directory>
// Writes <output directory>/sound_<n>.wav for every "sound n" block of the recipe.
// Recipe lines (blank lines and '#' comments are ignored):
//   rate <hz>                        sample rate of every file (first line)
//   peak <dbfs>                      ceiling of every sample's peak
//   sound <n> <seconds> <name>       starts sound n, of the given length
//   tone <wave> <start> <dur> <f0> <f1> <gain> <attack> <decay> [vib_hz vib_depth]
//       one voice: wave sine|tri|soft_square|bell, pitch glides from f0 to f1 (Hz)
//       over dur seconds, attack in seconds, then exponential decay with time
//       constant decay (seconds); vibrato depth in semitones.
//   noise <start> <dur> <cut0> <cut1> <gain> <attack> <decay>
//       low-passed white noise whose cutoff glides from cut0 to cut1 (Hz).
//   echo <delay> <feedback> <mix>    a soft feedback echo over the whole sound.
// All sounds are then brought to one loudness (the same RMS over their loudest
// 50 ms), as loud as the peak ceiling allows for the most peaky of them.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double pi = 3.14159265358979323846;

struct tone_layer {
    std::string wave;
    double start, dur, f0, f1, gain, attack, decay, vib_hz, vib_depth;
};

struct noise_layer {
    double start, dur, cut0, cut1, gain, attack, decay;
};

struct sound_recipe {
    int number = -1;
    double seconds = 0;
    std::string name;
    std::vector<tone_layer> tones;
    std::vector<noise_layer> noises;
    double echo_delay = 0, echo_feedback = 0, echo_mix = 0;
    int line = 0;
};

[[noreturn]] void fail(const std::string &where, const std::string &what)
{
    std::fprintf(stderr, "make_sounds: %s: %s\n", where.c_str(), what.c_str());
    std::exit(1);
}

// Attack ramp, exponential decay, and a 10 ms fade at the layer's end so nothing clicks.
double envelope(double t, double dur, double attack, double decay)
{
    if (t < 0 || t >= dur)
        return 0;
    double e = attack > 0 && t < attack ? t / attack : std::exp(-(t - attack) / decay);
    if (attack > 0 && t < attack)
        e = std::sin(0.5 * pi * e);
    double tail = dur - t;
    if (tail < 0.01)
        e *= tail / 0.01;
    return e;
}

double wave_value(const std::string &wave, double phase)
{
    double s = std::sin(phase);
    if (wave == "sine")
        return s;
    if (wave == "tri")
        return 2.0 / pi * std::asin(s);
    if (wave == "soft_square")
        return std::tanh(3.0 * s) / std::tanh(3.0);
    if (wave == "bell")  // a few inharmonic partials, the upper ones quieter
        return 0.62 * s + 0.22 * std::sin(2.76 * phase) + 0.1 * std::sin(5.4 * phase) + 0.06 * std::sin(8.93 * phase);
    return 0;
}

void render_tone(const tone_layer &t, int rate, std::vector<double> &out)
{
    int first = (int)std::lround(t.start * rate);
    int count = (int)std::lround(t.dur * rate);
    double phase = 0;
    for (int i = 0; i < count && first + i < (int)out.size(); i++) {
        double time = (double)i / rate;
        double along = t.dur > 0 ? time / t.dur : 0;
        double f = t.f0 * std::pow(t.f1 / t.f0, along);  // glide evenly in pitch, not in Hz
        if (t.vib_depth > 0)
            f *= std::pow(2.0, t.vib_depth / 12.0 * std::sin(2 * pi * t.vib_hz * time));
        phase += 2 * pi * f / rate;
        out[first + i] += t.gain * envelope(time, t.dur, t.attack, t.decay) * wave_value(t.wave, phase);
    }
}

void render_noise(const noise_layer &n, int rate, std::vector<double> &out, uint32_t &seed)
{
    int first = (int)std::lround(n.start * rate);
    int count = (int)std::lround(n.dur * rate);
    double low1 = 0, low2 = 0;
    for (int i = 0; i < count && first + i < (int)out.size(); i++) {
        double time = (double)i / rate;
        double along = n.dur > 0 ? time / n.dur : 0;
        double cut = n.cut0 * std::pow(n.cut1 / n.cut0, along);
        double k = 1.0 - std::exp(-2 * pi * cut / rate);
        seed = seed * 1664525u + 1013904223u;
        double white = ((seed >> 8) & 0xffff) / 32768.0 - 1.0;
        low1 += k * (white - low1);  // two one-pole stages: a gentle 12 dB/octave slope
        low2 += k * (low1 - low2);
        out[first + i] += n.gain * envelope(time, n.dur, n.attack, n.decay) * low2;
    }
}

void apply_echo(const sound_recipe &r, int rate, std::vector<double> &out)
{
    if (r.echo_delay <= 0 || r.echo_mix <= 0)
        return;
    int delay = (int)std::lround(r.echo_delay * rate);
    std::vector<double> wet(out.size(), 0.0);
    for (size_t i = 0; i < out.size(); i++) {
        double back = i >= (size_t)delay ? out[i - delay] + r.echo_feedback * wet[i - delay] : 0;
        wet[i] = back;
    }
    for (size_t i = 0; i < out.size(); i++)
        out[i] += r.echo_mix * wet[i];
}

std::vector<double> render(const sound_recipe &r, int rate)
{
    std::vector<double> out((size_t)std::lround(r.seconds * rate), 0.0);
    uint32_t seed = 12345u + (uint32_t)r.number * 7919u;
    for (const tone_layer &t : r.tones)
        render_tone(t, rate, out);
    for (const noise_layer &n : r.noises)
        render_noise(n, rate, out, seed);
    apply_echo(r, rate, out);
    // The echo may ring past the end: fade the last 30 ms out.
    size_t fade = std::min(out.size(), (size_t)(0.03 * rate));
    for (size_t i = 0; i < fade; i++)
        out[out.size() - 1 - i] *= (double)i / fade;
    return out;
}

double peak_of(const std::vector<double> &s)
{
    double p = 0;
    for (double v : s)
        p = std::max(p, std::fabs(v));
    return p;
}

// RMS of the loudest 50 ms window: short clicks and long tones compare fairly.
double loud_rms_of(const std::vector<double> &s, int rate)
{
    size_t w = std::min(s.size(), (size_t)(0.05 * rate));
    if (w == 0)
        return 0;
    double sum = 0, best = 0;
    for (size_t i = 0; i < s.size(); i++) {
        sum += s[i] * s[i];
        if (i >= w)
            sum -= s[i - w] * s[i - w];
        if (i + 1 >= w)
            best = std::max(best, sum);
    }
    return std::sqrt(std::max(best, 0.0) / w);
}

void put16(std::ofstream &o, unsigned v) { o.put((char)(v & 255)); o.put((char)((v >> 8) & 255)); }
void put32(std::ofstream &o, unsigned v) { put16(o, v & 0xffff); put16(o, v >> 16); }

void write_wav(const std::string &path, const std::vector<double> &s, int rate)
{
    std::ofstream o(path, std::ios::binary | std::ios::trunc);
    if (!o)
        fail(path, "cannot write");
    unsigned bytes = (unsigned)s.size() * 2;
    o.write("RIFF", 4); put32(o, 36 + bytes); o.write("WAVE", 4);
    o.write("fmt ", 4); put32(o, 16); put16(o, 1); put16(o, 1); put32(o, rate); put32(o, rate * 2); put16(o, 2); put16(o, 16);
    o.write("data", 4); put32(o, bytes);
    for (double v : s) {
        long q = std::lround(v * 32767.0);
        q = std::max(-32767L, std::min(32767L, q));
        put16(o, (unsigned)(q & 0xffff));
    }
    if (!o)
        fail(path, "write failed");
}

// Reads the numbers that follow a keyword; too few is an error with the line number.
std::vector<double> numbers(std::istringstream &in, size_t least, size_t most, const std::string &where)
{
    std::vector<double> v;
    std::string word;
    while (in >> word) {
        char *end = nullptr;
        double d = std::strtod(word.c_str(), &end);
        if (!end || *end)
            fail(where, "not a number: " + word);
        v.push_back(d);
    }
    if (v.size() < least || v.size() > most)
        fail(where, "wrong number of values");
    return v;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_sounds <recipe> <output directory>\n");
        return 1;
    }
    std::ifstream in(argv[1]);
    if (!in)
        fail(argv[1], "cannot open");
    int rate = 22050;
    double peak_dbfs = -3.0;
    std::vector<sound_recipe> sounds;
    std::string text;
    int line_no = 0;
    while (std::getline(in, text)) {
        line_no++;
        size_t hash = text.find('#');
        if (hash != std::string::npos)
            text.erase(hash);
        std::istringstream line(text);
        std::string key;
        if (!(line >> key))
            continue;
        std::string where = std::string(argv[1]) + ":" + std::to_string(line_no);
        if (key == "rate") {
            rate = (int)numbers(line, 1, 1, where)[0];
            if (rate != 22050 && rate != 44100)
                fail(where, "rate must be 22050 or 44100");
        } else if (key == "peak") {
            peak_dbfs = numbers(line, 1, 1, where)[0];
            if (peak_dbfs >= 0 || peak_dbfs < -24)
                fail(where, "peak must be below 0 dBFS");
        } else if (key == "sound") {
            sound_recipe r;
            double seconds;
            if (!(line >> r.number >> seconds >> r.name) || r.number < 0 || seconds <= 0 || seconds > 2)
                fail(where, "sound <n> <seconds> <name>");
            r.seconds = seconds;
            r.line = line_no;
            sounds.push_back(r);
        } else if (sounds.empty()) {
            fail(where, "layer before the first sound");
        } else if (key == "tone") {
            tone_layer t;
            if (!(line >> t.wave))
                fail(where, "tone needs a wave");
            if (t.wave != "sine" && t.wave != "tri" && t.wave != "soft_square" && t.wave != "bell")
                fail(where, "unknown wave " + t.wave);
            std::vector<double> v = numbers(line, 7, 9, where);
            t.start = v[0]; t.dur = v[1]; t.f0 = v[2]; t.f1 = v[3]; t.gain = v[4]; t.attack = v[5]; t.decay = v[6];
            t.vib_hz = v.size() > 7 ? v[7] : 0;
            t.vib_depth = v.size() > 8 ? v[8] : 0;
            if (v.size() == 8)
                fail(where, "vibrato needs both rate and depth");
            if (t.f0 <= 0 || t.f1 <= 0 || t.decay <= 0 || t.dur <= 0)
                fail(where, "frequencies, duration and decay must be positive");
            sounds.back().tones.push_back(t);
        } else if (key == "noise") {
            std::vector<double> v = numbers(line, 7, 7, where);
            noise_layer n{v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
            if (n.cut0 <= 0 || n.cut1 <= 0 || n.decay <= 0 || n.dur <= 0)
                fail(where, "cutoffs, duration and decay must be positive");
            sounds.back().noises.push_back(n);
        } else if (key == "echo") {
            std::vector<double> v = numbers(line, 3, 3, where);
            if (v[1] < 0 || v[1] >= 0.9)
                fail(where, "echo feedback must be in 0 .. 0.9");
            sounds.back().echo_delay = v[0];
            sounds.back().echo_feedback = v[1];
            sounds.back().echo_mix = v[2];
        } else {
            fail(where, "unknown keyword " + key);
        }
    }
    if (sounds.empty())
        fail(argv[1], "no sounds");

    std::vector<std::vector<double>> rendered;
    double gain_limit = 1e9;  // the largest common RMS that keeps every peak under the ceiling
    double ceiling = std::pow(10.0, peak_dbfs / 20.0);
    for (const sound_recipe &r : sounds) {
        rendered.push_back(render(r, rate));
        double rms = loud_rms_of(rendered.back(), rate);
        double peak = peak_of(rendered.back());
        if (rms <= 0 || peak <= 0)
            fail(r.name, "renders silent");
        gain_limit = std::min(gain_limit, ceiling * rms / peak);
    }
    for (size_t i = 0; i < sounds.size(); i++) {
        std::vector<double> &s = rendered[i];
        double scale = gain_limit / loud_rms_of(s, rate);
        for (double &v : s)
            v *= scale;
        std::string path = std::string(argv[2]) + "/sound_" + std::to_string(sounds[i].number) + ".wav";
        write_wav(path, s, rate);
        std::printf("%-16s %s  %.2f s  peak %.1f dBFS  loud RMS %.1f dBFS\n", sounds[i].name.c_str(), path.c_str(),
                    s.size() / (double)rate, 20 * std::log10(peak_of(s)), 20 * std::log10(loud_rms_of(s, rate)));
    }
    return 0;
}
