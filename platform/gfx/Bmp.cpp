#include "platform/gfx/Bmp.h"

#include <fstream>
#include <iterator>

namespace platform::gfx {

namespace {

    constexpr std::uint64_t kFileHeader = 14;
    constexpr int kMaxSide = 16384;

    std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at)
    {
        return std::uint32_t(b[at] | (b[at + 1] << 8));
    }
    std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at)
    {
        return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16)
            | (std::uint32_t(b[at + 3]) << 24);
    }

    void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
    {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    }
    void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
    {
        Put16(out, v & 0xFFFF);
        Put16(out, v >> 16);
    }

    bool IsLight(Pixel p) { return RedOf(p) + GreenOf(p) + BlueOf(p) >= 3 * 128; }

} // namespace

BmpError ReadBmp(std::span<const std::uint8_t> bytes, Surface& out, BmpInfo* info)
{
    const std::uint64_t size = bytes.size();
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return BmpError::NotBmp;
    if (size < kFileHeader + 4)
        return BmpError::Truncated;
    const std::uint64_t headerSize = U32(bytes, kFileHeader);
    if (headerSize < 40)
        return BmpError::HeaderTooSmall;
    if (size < kFileHeader + headerSize)
        return BmpError::Truncated;
    const std::uint64_t dataOffset = U32(bytes, 10);
    const std::int32_t width = std::int32_t(U32(bytes, 18));
    const std::int32_t rawHeight = std::int32_t(U32(bytes, 22));
    const std::uint32_t planes = U16(bytes, 26);
    const std::uint32_t bits = U16(bytes, 28);
    const std::uint32_t compression = U32(bytes, 30);
    const std::uint32_t coloursUsed = U32(bytes, 46);
    if (planes != 1)
        return BmpError::Planes;
    if (compression != 0)
        return BmpError::Compression;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return BmpError::BitCount;
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -std::int64_t(rawHeight) : std::int64_t(rawHeight);
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide)
        return BmpError::Dimensions;

    std::vector<Pixel> table;
    if (bits <= 8) {
        std::uint64_t count = coloursUsed == 0 ? (1u << bits) : coloursUsed;
        count = std::min<std::uint64_t>(count, 1u << bits);
        const std::uint64_t tableAt = kFileHeader + headerSize;
        if (tableAt + count * 4 > size)
            return BmpError::PastFile;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::size_t at = std::size_t(tableAt + i * 4);
            table.push_back(Rgb(bytes[at + 2], bytes[at + 1], bytes[at]));
        }
    }
    const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    if (dataOffset + stride * std::uint64_t(height) > size)
        return BmpError::PastFile;

    Surface picture(width, int(height));
    for (std::int64_t row = 0; row < height; ++row) {
        const std::uint8_t* line = bytes.data() + dataOffset + stride * std::uint64_t(row);
        Pixel* to = picture.Row(int(topDown ? row : height - 1 - row));
        for (int x = 0; x < width; ++x) {
            if (bits == 24) {
                to[x] = Rgb(line[x * 3 + 2], line[x * 3 + 1], line[x * 3]);
                continue;
            }
            if (bits == 32) {
                to[x] = Rgb(line[x * 4 + 2], line[x * 4 + 1], line[x * 4]);
                continue;
            }
            const std::uint32_t bitAt = std::uint32_t(x) * bits;
            const std::uint32_t shift = 8 - bits - (bitAt % 8);
            const std::uint32_t index = (line[bitAt / 8] >> shift) & ((1u << bits) - 1);
            if (index >= table.size())
                return BmpError::PaletteIndex;
            to[x] = table[index];
        }
    }
    out = std::move(picture);
    if (info)
        *info = { int(bits), int(table.size()) };
    return BmpError::None;
}

BmpError ReadBmpFile(const std::filesystem::path& path, Surface& out, BmpInfo* info)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return BmpError::CannotOpen;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return BmpError::CannotOpen;
    return ReadBmp(bytes, out, info);
}

std::vector<std::uint8_t> WriteBmp(const Surface& picture, int bitCount)
{
    const bool mono = bitCount == 1;
    const std::uint32_t bits = mono ? 1 : 24;
    const std::uint32_t width = std::uint32_t(picture.Width());
    const std::uint32_t height = std::uint32_t(picture.Height());
    const std::uint32_t stride = ((width * bits + 31) / 32) * 4;
    const std::uint32_t tableSize = mono ? 8 : 0;
    const std::uint32_t dataOffset = 14 + 40 + tableSize;
    std::vector<std::uint8_t> out;
    out.reserve(dataOffset + std::size_t(stride) * height);
    out.push_back('B');
    out.push_back('M');
    Put32(out, dataOffset + stride * height);
    Put32(out, 0);
    Put32(out, dataOffset);
    Put32(out, 40);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);
    Put32(out, stride * height);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, mono ? 2 : 0);
    Put32(out, 0);
    if (mono) {
        Put32(out, 0x000000);
        Put32(out, 0xFFFFFF);
    }
    for (std::uint32_t row = height; row-- > 0;) {
        const Pixel* from = picture.Row(int(row));
        const std::size_t start = out.size();
        out.resize(start + stride, 0);
        for (std::uint32_t x = 0; x < width; ++x) {
            if (mono) {
                if (IsLight(from[x]))
                    out[start + x / 8] |= std::uint8_t(0x80 >> (x % 8));
                continue;
            }
            out[start + x * 3] = std::uint8_t(BlueOf(from[x]));
            out[start + x * 3 + 1] = std::uint8_t(GreenOf(from[x]));
            out[start + x * 3 + 2] = std::uint8_t(RedOf(from[x]));
        }
    }
    return out;
}

bool WriteBmpFile(const std::filesystem::path& path, const Surface& picture, int bitCount)
{
    const std::vector<std::uint8_t> bytes = WriteBmp(picture, bitCount);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    return bool(file);
}

} // namespace platform::gfx
