#pragma once

#include "memory/ZRMemoryMgr.h"
#include "system/ZRSYS_Runtime.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

// The shared, reference-counted buffer behind byte and wide strings.
template <class CharT> struct ZR_StringData
{
    int64_t nRefs;
    int32_t nDataLength;
    int32_t nAllocLength;

    CharT* chars() { return reinterpret_cast<CharT*>(this + 1); }
};

template <class CharT> struct ZR_CharTraits;

template <> struct ZR_CharTraits<char>
{
    static size_t Length(const char* s) { return strlen(s); }
    static size_t BoundedLength(const char* s, size_t bound) { return strnlen(s, bound); }
    static const char* FindChar(const char* s, char c) { return strchr(s, c); }
    static void Lower(char* s) { ZRSYS_strlwr(s); }
    static void Upper(char* s) { ZRSYS_strupr(s); }
};

template <> struct ZR_CharTraits<wchar_t>
{
    static size_t Length(const wchar_t* s) { return wcslen(s); }
    static size_t BoundedLength(const wchar_t* s, size_t bound) { return wcsnlen(s, bound); }
    static const wchar_t* FindChar(const wchar_t* s, wchar_t c) { return wcschr(s, c); }
    static void Lower(wchar_t* s) { ZRSYS_wcslwr(s); }
    static void Upper(wchar_t* s) { ZRSYS_wcsupr(s); }
};

// Copy-on-write core shared by CZR_ByteString and CZR_WideString (Derived), counted in characters.
// Reference counts are plain integers: a string and its sharers belong to one thread at a time.
template <class CharT, class Derived> class CZR_StringT
{
public:
    using Data = ZR_StringData<CharT>;
    using Traits = ZR_CharTraits<CharT>;

    CZR_StringT() : m_pData(nullptr) {}
    CZR_StringT(const CZR_StringT& other) : m_pData(nullptr) { ShareFrom(other); }
    ~CZR_StringT() { Release(m_pData); }

    int GetLength() const { return m_pData ? m_pData->nDataLength : 0; }
    bool IsEmpty() const { return GetLength() == 0; }
    // The terminated characters; an empty string gives "".
    const CharT* c_str() const
    {
        static const CharT empty[1] = {0};
        return m_pData ? m_pData->chars() : empty;
    }
    CharT operator[](int index) const { return c_str()[index]; }

    void Empty()
    {
        Release(m_pData);
        m_pData = nullptr;
    }

    void AssignCopy(int len, const CharT* p)
    {
        if (len < 1 || !p) {
            Empty();
            return;
        }
        if (m_pData && IsUnique() && m_pData->nAllocLength >= len) {
            memmove(m_pData->chars(), p, len * sizeof(CharT));
            SetLength(len);
            return;
        }
        Data* fresh = AllocData(len);
        if (fresh) {
            memcpy(fresh->chars(), p, len * sizeof(CharT));
            fresh->chars()[len] = 0;
        }
        Release(m_pData);
        m_pData = fresh;
    }

    CharT* GetBuffer(int n)
    {
        if (IsEmpty() && n == 0)
            return nullptr;
        if (m_pData && IsUnique() && m_pData->nAllocLength >= n)
            return m_pData->chars();
        int length = GetLength();
        int capacity = n > length ? n : length;
        Data* fresh = capacity < 1 ? nullptr : AllocData(capacity);
        if (fresh) {
            fresh->nDataLength = length;
            memcpy(fresh->chars(), c_str(), (length + 1) * sizeof(CharT));
        }
        Release(m_pData);
        m_pData = fresh;
        return fresh ? fresh->chars() : nullptr;
    }

    // Takes `len` characters from the buffer, clamped to its capacity; -1 measures them.
    void ReleaseBuffer(int len = -1)
    {
        if (!m_pData || !CopyBeforeWrite())
            return;
        int capacity = m_pData->nAllocLength;
        if (len == -1)
            len = int(Traits::BoundedLength(m_pData->chars(), size_t(capacity)));
        if (len > capacity)
            len = capacity;
        if (len <= 0) {
            Empty();
            return;
        }
        SetLength(len);
    }

    CharT* LockBuffer()
    {
        if (IsEmpty())
            return nullptr;
        CharT* chars = GetBuffer(0);
        if (chars)
            m_pData->nRefs = -1;
        return chars;
    }

    void AllocBeforeWrite(int n)
    {
        if (m_pData && !IsUnique()) {
            --m_pData->nRefs;
            m_pData = nullptr;
        } else if (m_pData && m_pData->nAllocLength < n) {
            Empty();
        }
        if (!m_pData && n >= 1) {
            m_pData = AllocData(n);
            if (m_pData)
                m_pData->chars()[n] = 0;
        }
    }

    // Makes a shared buffer private; false when the string is (or became) empty.
    bool CopyBeforeWrite()
    {
        if (!m_pData)
            return false;
        if (IsUnique())
            return true;
        Data* shared = m_pData;
        --shared->nRefs;
        m_pData = AllocData(shared->nDataLength);
        if (m_pData)
            memcpy(m_pData->chars(), shared->chars(), (shared->nDataLength + 1) * sizeof(CharT));
        return m_pData != nullptr;
    }

    void AllocCopy(Derived& dest, int count, int start, int extra) const
    {
        int64_t total = int64_t(count) + extra;
        Data* fresh = total < 1 || count < 0 ? nullptr : AllocData(total);
        if (fresh) {
            memcpy(fresh->chars(), c_str() + start, count * sizeof(CharT));
            fresh->chars()[fresh->nDataLength] = 0;
        }
        dest.Empty();
        dest.m_pData = fresh;
    }

    int Delete(int index, int count = 1)
    {
        int length = GetLength();
        if (length == 0)
            return 0;
        if (index < 0)
            index = 0;
        if (count < 1 || index >= length)
            return length;
        if (!CopyBeforeWrite())
            return 0;
        if (int64_t(index) + count >= length) {
            SetLength(index);
            return index;
        }
        CharT* chars = m_pData->chars();
        memmove(chars + index, chars + index + count, (length - index - count + 1) * sizeof(CharT));
        m_pData->nDataLength = length - count;
        return length - count;
    }

    int Insert(int index, CharT c)
    {
        int length = GetLength();
        index = index < 0 ? 0 : (index > length ? length : index);
        if (length == 0) {
            AssignCopy(1, &c);
            return GetLength();
        }
        if (CopyBeforeWrite() && m_pData->nAllocLength > length) {
            CharT* chars = m_pData->chars();
            memmove(chars + index + 1, chars + index, (length - index + 1) * sizeof(CharT));
            chars[index] = c;
            m_pData->nDataLength = length + 1;
            return length + 1;
        }
        Data* fresh = m_pData ? AllocData(int64_t(length) + 1) : nullptr;
        if (fresh) {
            const CharT* old = m_pData->chars();
            memcpy(fresh->chars(), old, index * sizeof(CharT));
            fresh->chars()[index] = c;
            memcpy(fresh->chars() + index + 1, old + index, (length - index + 1) * sizeof(CharT));
        }
        Release(m_pData);
        m_pData = fresh;
        return GetLength();
    }

    int Remove(CharT c)
    {
        if (IsEmpty() || !CopyBeforeWrite())
            return 0;
        CharT* chars = m_pData->chars();
        int length = m_pData->nDataLength;
        int kept = 0;
        for (int i = 0; i < length; ++i) {
            if (chars[i] != c)
                chars[kept++] = chars[i];
        }
        SetLength(kept);
        return length - kept;
    }

    void SetAt(int index, CharT c)
    {
        if (index >= 0 && index < GetLength() && CopyBeforeWrite())
            m_pData->chars()[index] = c;
    }

    void MakeLower()
    {
        if (!IsEmpty() && CopyBeforeWrite())
            Traits::Lower(m_pData->chars());
    }

    void MakeUpper()
    {
        if (!IsEmpty() && CopyBeforeWrite())
            Traits::Upper(m_pData->chars());
    }

    Derived Mid(int first) const { return Mid(first, GetLength() - (first < 0 ? 0 : first)); }

    Derived Mid(int first, int count) const
    {
        int length = GetLength();
        if (first < 0)
            first = 0;
        if (count < 0)
            count = 0;
        if (first > length)
            return Derived();
        if (count > length - first)
            count = length - first;
        if (first == 0 && count == length)
            return Whole();
        Derived result;
        if (count > 0)
            AllocCopy(result, count, first, 0);
        return result;
    }

    Derived Left(int count) const
    {
        if (count >= GetLength())
            return Whole();
        Derived result;
        if (count > 0)
            AllocCopy(result, count, 0, 0);
        return result;
    }

    Derived Right(int count) const
    {
        int length = GetLength();
        if (count >= length)
            return Whole();
        Derived result;
        if (count > 0)
            AllocCopy(result, count, length - count, 0);
        return result;
    }

    int Find(CharT c, int start = 0) const
    {
        int length = GetLength();
        if (start < 0 || start >= length)
            return -1;
        const CharT* found = Traits::FindChar(c_str() + start, c);
        return found ? int(found - c_str()) : -1;
    }

protected:
    // A buffer for `capacity` characters with that length, or null when it exceeds the limit or
    // the allocation fails.
    static Data* AllocData(int64_t capacity)
    {
        if (capacity < 1 || capacity > INT32_MAX)
            return nullptr;
        uint64_t bytes = sizeof(Data) + (uint64_t(capacity) + 1) * sizeof(CharT);
        if (bytes > ZRMEM_COUNTED_LIMIT)
            return nullptr;
        auto* data = static_cast<Data*>(ZRMEM_DefaultAlloc2(bytes, 1, 0));
        if (!data)
            return nullptr;
        data->nRefs = 1;
        data->nDataLength = int32_t(capacity);
        data->nAllocLength = int32_t(capacity);
        return data;
    }

    static void Release(Data* data)
    {
        if (!data)
            return;
        if (data->nRefs >= 2)
            --data->nRefs;
        else
            ZRMEM_DefaultFree(data, 0);
    }

    bool IsUnique() const { return m_pData->nRefs == 1 || m_pData->nRefs == -1; }
    bool IsLocked() const { return m_pData && m_pData->nRefs == -1; }

    void SetLength(int len)
    {
        m_pData->nDataLength = len;
        m_pData->chars()[len] = 0;
    }

    // Copy-construction semantics: share, or copy a locked buffer; never keep a zero-length one.
    void ShareFrom(const CZR_StringT& other)
    {
        if (other.IsEmpty())
            return;
        if (other.IsLocked()) {
            AssignCopy(other.GetLength(), other.c_str());
            return;
        }
        m_pData = other.m_pData;
        ++m_pData->nRefs;
    }

    void AssignString(const CZR_StringT& other)
    {
        if (m_pData == other.m_pData)
            return;
        if (other.IsEmpty()) {
            Empty();
        } else if (!IsLocked() && !other.IsLocked()) {
            Empty();
            ShareFrom(other);
        } else {
            AssignCopy(other.GetLength(), other.c_str());
        }
    }

    void InitStr(const CharT* p, int len)
    {
        if (len < 0)
            len = p ? int(Traits::Length(p)) : 0;
        AssignCopy(len, p);
    }

    void ConcatInPlace(int n, const CharT* p)
    {
        if (n <= 0 || !p)
            return;
        int length = GetLength();
        if (length == 0) {
            AssignCopy(n, p);
            return;
        }
        if (IsUnique() && int64_t(length) + n <= m_pData->nAllocLength) {
            memmove(m_pData->chars() + length, p, n * sizeof(CharT));
            SetLength(length + n);
            return;
        }
        if (IsUnique() && !PointsIntoBuffer(p)) {
            // Sole owner: growing the block in place saves the copy that a fresh buffer would need.
            GrowUnique(static_cast<Derived*>(this)->ConcatCapacity(length, n), p, n);
            return;
        }
        Data* old = m_pData;
        static_cast<Derived*>(this)->ConcatCopy(length, old->chars(), n, p);
        Release(old);
    }

    bool PointsIntoBuffer(const CharT* p) const
    {
        auto address = reinterpret_cast<uintptr_t>(p);
        auto begin = reinterpret_cast<uintptr_t>(m_pData->chars());
        return address >= begin && address <= begin + uintptr_t(m_pData->nAllocLength) * sizeof(CharT);
    }

    // Resizes the unique buffer to `capacity` and appends; on failure the string becomes empty.
    void GrowUnique(int64_t capacity, const CharT* p, int n)
    {
        int length = m_pData->nDataLength;
        int64_t total = int64_t(length) + n;
        uint64_t bytes = sizeof(Data) + (uint64_t(capacity) + 1) * sizeof(CharT);
        Data* grown = nullptr;
        if (total <= INT32_MAX && capacity <= INT32_MAX && bytes <= ZRMEM_COUNTED_LIMIT)
            grown = static_cast<Data*>(
                ZRMEM_AllocatorGrow(nullptr, m_pData, sizeof(Data) + (size_t(length) + 1) * sizeof(CharT), bytes));
        if (!grown) {
            Empty();
            return;
        }
        grown->nAllocLength = int32_t(capacity);
        memcpy(grown->chars() + length, p, n * sizeof(CharT));
        grown->nDataLength = int32_t(total);
        grown->chars()[total] = 0;
        m_pData = grown;
    }

    // A new buffer of `capacity` holding both pieces; replaces m_pData without releasing it.
    void BuildConcat(int64_t capacity, int len1, const CharT* text1, int len2, const CharT* text2)
    {
        int64_t total = int64_t(len1) + len2;
        Data* fresh = total > INT32_MAX ? nullptr : AllocData(capacity);
        if (fresh) {
            memcpy(fresh->chars(), text1, len1 * sizeof(CharT));
            memcpy(fresh->chars() + len1, text2, len2 * sizeof(CharT));
            fresh->nDataLength = int32_t(total);
            fresh->chars()[total] = 0;
        }
        m_pData = fresh;
    }

    template <class Member> void TrimRightIf(Member isMember)
    {
        if (IsEmpty() || !CopyBeforeWrite())
            return;
        const CharT* chars = m_pData->chars();
        int length = m_pData->nDataLength;
        while (length > 0 && isMember(chars[length - 1]))
            --length;
        SetLength(length);
    }

    template <class Member> void TrimLeftIf(Member isMember)
    {
        if (IsEmpty() || !CopyBeforeWrite())
            return;
        CharT* chars = m_pData->chars();
        int length = m_pData->nDataLength;
        int skip = 0;
        while (skip < length && isMember(chars[skip]))
            ++skip;
        memmove(chars, chars + skip, (length - skip + 1) * sizeof(CharT));
        m_pData->nDataLength = length - skip;
    }

    Derived Whole() const
    {
        Derived result;
        result.ShareFrom(*this);
        return result;
    }

    Data* m_pData;
};
