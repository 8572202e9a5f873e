// SPDX-License-Identifier: MIT
#include "engine/membedcache.h"

#include <utility>

namespace {

std::string keyOf(const MString& mstrName) {
    return mstrName.isEmpty() ? std::string() : std::string(&mstrName[0], mstrName.length());
}

}  // namespace

const MString* MEmbedCache::find(const MString& mstrName) const {
    if (m_contents.empty())
        return nullptr;
    const auto found = m_contents.find(keyOf(mstrName));
    return found == m_contents.end() ? nullptr : &found->second;
}

const MString* MEmbedCache::keep(const MString& mstrName, MString& mstrContent) {
    const unsigned long liCost = mstrContent.length() + mstrName.length() + sm_liBytesPerName;
    if (mstrContent.length() > sm_liMostFileBytes || m_liBytes + liCost > sm_liMostBytes)
        return nullptr;
    const auto kept = m_contents.emplace(keyOf(mstrName), std::move(mstrContent));
    if (kept.second)
        m_liBytes += liCost;
    return &kept.first->second;
}
