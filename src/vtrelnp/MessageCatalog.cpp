#include "vtrelnp/MessageCatalog.h"

namespace vtrelnp {

namespace {

const vtrelnp_msg kMessages[] = {
    {1, "vtnp_create_dlfs_dosdev: unable to determine DLFS drive - [%ld]\n"},
    {2, "vtnp_create_dlfs_dosdev: unable to create DLFS DosDevice - [%ld]\n"},
    {3, "NPLogon: Unable to create DLFS DosDevice\n"},
    {4, "NPLogon: can not allocate memory\n"},
    {5, "NPLogon: Didn't find KorvaHome\n"},
    {6, "NPLogon: ntregy_get_dlfs_param(logonaction) failed - %s (%ld)\n"},
    {7, "NPLogon: unrecognized logon action (%lu)\n"},
    {8, "NPLogon: mntrpc_umount_tag() failed - %s\n"},
    {9, "NPLogon: view_mfs_unregister_alltags() failed - %s\n"},
    {10, "NPAddConnection: couldn't startview - [%s]\n"},
    {11, "NPAddConnection: couldn't get view root - [%s]\n"},
    {12, "NPAddConnection: couldn't subst drive - [%d]\n"},
    {13, "NPAddConnection: couldn't add view connection - [%d]\n"},
    {14, "vtrelnp: unable to determine network region - [%s]\n"},
    {15, "vtrelnp: error querying registry - [%s]\n"},
    {16, "OpenEnum: Unxpected Scope request, %d\n"},
    {17, "vtnp_create_dlfs_dosdev: unable to create DLFS viewroot drive - [%ld]\n"},
};

const vtrelnp_msg_catalog kCatalog = {17, 1, kMessages, "np_nt", "vtrelnp"};

}  // namespace

const vtrelnp_msg_catalog& MessageCatalog() {
    return kCatalog;
}

}  // namespace vtrelnp
