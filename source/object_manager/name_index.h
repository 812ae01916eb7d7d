// The ObjectManager's name index: one entry per registered object, ordered by
// name (unique) and, as a second key, by object number (unique). Guarded by
// the object lock together with the object table.
#pragma once

#include <string>

#include <boost/multi_index/member.hpp>
#include <boost/multi_index/ordered_index.hpp>
#include <boost/multi_index_container.hpp>

struct ObjectNameEntry {
    std::string name;
    unsigned objNum;
};

struct ByObjectName {};
struct ByObjectNumber {};

using ObjectNameIndex = boost::multi_index::multi_index_container<
    ObjectNameEntry,
    boost::multi_index::indexed_by<
        boost::multi_index::ordered_unique<
            boost::multi_index::tag<ByObjectName>,
            boost::multi_index::member<ObjectNameEntry, std::string, &ObjectNameEntry::name>>,
        boost::multi_index::ordered_unique<
            boost::multi_index::tag<ByObjectNumber>,
            boost::multi_index::member<ObjectNameEntry, unsigned, &ObjectNameEntry::objNum>>>>;
