#pragma once

// The library's message catalog for the product's message system, as
// _vtrelnp_np_msg_table_adr hands it out.
extern "C" {

struct vtrelnp_msg {
    int number;
    const char* format;
};

struct vtrelnp_msg_catalog {
    int count;
    int first;
    const vtrelnp_msg* messages;
    const char* catalog;
    const char* module;
};
}

namespace vtrelnp {

const vtrelnp_msg_catalog& MessageCatalog();

}  // namespace vtrelnp
