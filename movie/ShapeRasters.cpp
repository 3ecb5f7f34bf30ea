#include "ShapeRasters.h"

#include <algorithm>
#include <bit>
#include <set>

namespace movie {

namespace {

// Every set alive, so that room is made across all of them; the user-interface thread only.
// Never destroyed: sets kept in other static objects may go after it at exit.
std::set<ShapeRasters*>& allSets()
{
    static auto* sets = new std::set<ShapeRasters*>;
    return *sets;
}

qint64 g_totalBytes = 0;

// Drawings seen once and not since are forgotten after this many paints.
constexpr uint64_t CandidatePaints = 4;
constexpr size_t MaxCandidates = 512;
// Pictures used within this many paints (of all players) count as in use.
constexpr uint64_t InUsePaints = 32;

} // namespace

size_t ShapeRasters::KeyHash::operator()(const Key& k) const
{
    size_t h = std::hash<const void*>()(k.shape);
    auto mix = [&h](double v) { h = (h ^ std::hash<uint64_t>()(std::bit_cast<uint64_t>(v))) * 1099511628211ull; };
    for (double v : {k.m11, k.m12, k.m21, k.m22, k.fx, k.fy, k.colors.mr, k.colors.mg, k.colors.mb, k.colors.ma,
                     k.colors.ar, k.colors.ag, k.colors.ab, k.colors.aa})
        mix(v);
    return h ^ size_t(k.antialiasing);
}

ShapeRasters::ShapeRasters() { allSets().insert(this); }

ShapeRasters::~ShapeRasters()
{
    g_totalBytes -= m_bytes;
    allSets().erase(this);
}

qint64 ShapeRasters::totalBytes() { return g_totalBytes; }

uint64_t ShapeRasters::nextPaint()
{
    static uint64_t paints = 0;
    return ++paints;
}

int ShapeRasters::pictureCount() const
{
    return int(std::count_if(m_entries.begin(), m_entries.end(), [](const auto& e) { return !e.second.image.isNull(); }));
}

ShapeRasters::Picture ShapeRasters::lookUp(const Key& key, QPoint whole, uint64_t paint, bool& wanted, Entry*& entry)
{
    auto it = m_entries.find(key);
    if (it == m_entries.end()) {
        if (m_entries.size() >= MaxCandidates)
            forgetCandidates(paint);
        if (m_entries.size() >= MaxCandidates)
            return {};
        it = m_entries.emplace(key, Entry{}).first;
        it->second.firstPaint = paint;
    }
    Entry& e = it->second;
    e.lastUsed = paint;
    if (!e.image.isNull())
        return {&e.image, whole + e.offset};
    // Drawn alike in an earlier paint: worth keeping.
    wanted = e.firstPaint != paint;
    entry = &e;
    return {};
}

void ShapeRasters::store(Entry& entry, QImage image, QPoint offset)
{
    const qint64 bytes = image.sizeInBytes();
    entry.image = std::move(image);
    entry.offset = offset;
    m_bytes += bytes;
    g_totalBytes += bytes;
}

void ShapeRasters::forgetCandidates(uint64_t paint)
{
    std::erase_if(m_entries, [paint](const auto& e) {
        return e.second.image.isNull() && e.second.lastUsed + CandidatePaints < paint;
    });
}

bool ShapeRasters::makeRoom(qint64 bytes, uint64_t paint)
{
    // The least recently used pictures of all sets go until the new one fits, but never one
    // still in use: when those alone fill the budget, the new picture is not kept, rather
    // than pictures being made and thrown away frame after frame.
    while (g_totalBytes + bytes > BudgetBytes) {
        ShapeRasters* victimSet = nullptr;
        const Key* victim = nullptr;
        uint64_t oldest = 0;
        for (ShapeRasters* set : allSets()) {
            for (const auto& [key, e] : set->m_entries) {
                if (!e.image.isNull() && (!victim || e.lastUsed < oldest)) {
                    victimSet = set;
                    victim = &key;
                    oldest = e.lastUsed;
                }
            }
        }
        if (!victim || oldest + InUsePaints >= paint)
            return false;
        auto it = victimSet->m_entries.find(*victim);
        const qint64 freed = it->second.image.sizeInBytes();
        victimSet->m_bytes -= freed;
        g_totalBytes -= freed;
        victimSet->m_entries.erase(it);
    }
    return true;
}

} // namespace movie
