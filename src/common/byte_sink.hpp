// The output sink the translators write into.
//
// A translator asks for room for the most bytes its line can produce, writes
// through a plain pointer and commits what it wrote. Nothing here does I/O:
// the driver drains the bytes to standard output, and tests and fuzzers read
// them in-process. The storage grows with the largest request only and is
// never zero-filled, so untouched room costs no resident memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace bytesmith {

class ByteSink {
  public:
    ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;
    ~ByteSink() { std::free(data_); }

    // Room for at least n more bytes; returns where the next byte goes,
    // never a null pointer, even for n == 0.
    unsigned char* reserve(std::size_t n) {
        if (capacity_ - size_ < n || data_ == nullptr) {
            grow(n);
        }
        return data_ + size_;
    }

    // Records that the bytes up to end (from the last reserve) are written.
    void commit(const unsigned char* end) { size_ = static_cast<std::size_t>(end - data_); }

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }
    void clear() { size_ = 0; }

  private:
    void grow(std::size_t n) {
        std::size_t wanted = capacity_ ? capacity_ : 4096;
        while (wanted - size_ < n) {
            if (wanted > SIZE_MAX / 2) {
                throw std::bad_alloc();
            }
            wanted *= 2;
        }
        void* p = std::realloc(data_, wanted);
        if (p == nullptr) {
            throw std::bad_alloc();
        }
        data_ = static_cast<unsigned char*>(p);
        capacity_ = wanted;
    }

    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace bytesmith
