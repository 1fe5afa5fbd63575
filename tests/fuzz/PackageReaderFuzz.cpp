// libFuzzer target: bytes into the package reader, and what it reads into the
// layout of its first pages. Built with -DCORVALIN_FUZZ=ON (clang), run by
// scripts/fuzz.sh; the seeds in corpus/ are also replayed by the test suite.
//
// Nearly any change to a zip's compressed bytes breaks the entry's checksum,
// which the reader rightly refuses, so the mutator below mostly unpacks the
// package, mutates one of its parts as text and packs it again; now and then
// it mutates the container's bytes as they are.
#include "wordproc/Layout.h"
#include "wordproc/Package.h"

#include <QGuiApplication>

#include <zip.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

using Parts = std::vector<std::pair<std::string, std::string>>;

// The entries of a zip held in memory; false when it is not one.
bool unpack(const uint8_t* data, size_t size, Parts& parts)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(data, size, 0, &error);
    zip_t* zip = src ? zip_open_from_source(src, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (!zip) {
        if (src)
            zip_source_free(src);
        return false;
    }
    bool ok = true;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; ok && i < count && i < 64; ++i) {
        const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), 0);
        zip_file_t* f = name ? zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0) : nullptr;
        if (!f) {
            ok = false;
            break;
        }
        std::string text;
        char buffer[65536];
        zip_int64_t n;
        while ((n = zip_fread(f, buffer, sizeof buffer)) > 0 && text.size() < (1u << 20))
            text.append(buffer, static_cast<size_t>(n));
        ok = zip_fclose(f) == 0 && n >= 0;
        parts.emplace_back(name, std::move(text));
    }
    zip_discard(zip);
    return ok && !parts.empty();
}

// The parts packed into a new zip, deflated; empty on failure.
std::string pack(const Parts& parts)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!out)
        return {};
    zip_source_keep(out);
    zip_t* zip = zip_open_from_source(out, ZIP_TRUNCATE, nullptr);
    if (!zip) {
        zip_source_free(out);
        zip_source_free(out);
        return {};
    }
    for (const auto& [name, text] : parts) {
        zip_source_t* s = zip_source_buffer(zip, text.data(), text.size(), 0);
        if (!s || zip_file_add(zip, name.c_str(), s, ZIP_FL_OVERWRITE) < 0) {
            if (s)
                zip_source_free(s);
            zip_discard(zip);
            zip_source_free(out);
            return {};
        }
    }
    std::string bytes;
    if (zip_close(zip) != 0) {
        zip_discard(zip);
    } else if (zip_source_open(out) == 0) {
        char buffer[65536];
        zip_int64_t n;
        while ((n = zip_source_read(out, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, static_cast<size_t>(n));
        zip_source_close(out);
    }
    zip_source_free(out);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Fonts and text layout need an application object, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char* qtArgv[] = {*argc > 0 ? (*argv)[0] : const_cast<char*>("fuzz"), nullptr};
    static QGuiApplication* app = new QGuiApplication(qtArgc, qtArgv);  // lives as long as the process
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const wordproc::DocumentModel model = wordproc::readPackage(bytes, QStringLiteral("fuzz.docx"));
        wordproc::layoutDocument(model, 2);
    } catch (const wordproc::DocumentError&) {
        // Refused with a description: what a damaged package should get.
    }
    return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
    std::minstd_rand random(seed);
    Parts parts;
    if (random() % 8 == 0 || !unpack(data, size, parts))
        return LLVMFuzzerMutate(data, size, maxSize);
    // Mostly the main part, where nearly all the reading happens.
    size_t which = 0;
    for (size_t i = 0; i < parts.size(); ++i)
        if (parts[i].first == "word/document.xml")
            which = i;
    if (random() % 4 == 0)
        which = random() % parts.size();
    std::string& text = parts[which].second;
    const size_t length = std::min<size_t>(text.size(), 1u << 20);
    const size_t room = length * 2 + 4096;
    text.resize(room);
    text.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(text.data()), length, room));
    const std::string packed = pack(parts);
    if (packed.empty() || packed.size() > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, packed.data(), packed.size());
    return packed.size();
}
