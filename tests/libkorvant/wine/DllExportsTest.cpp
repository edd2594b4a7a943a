#include <windows.h>

#include <set>
#include <string>

#include "libkorvant/wine/KorvantDll.h"

namespace {

// Names in the export directory of the loaded image.
std::set<std::string> ExportedNames(HMODULE module) {
    std::set<std::string> names;
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (entry.VirtualAddress == 0) {
        return names;
    }
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameTable = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        names.insert(reinterpret_cast<const char*>(base + nameTable[i]));
    }
    return names;
}

TEST(Exports, EveryPublicNameIsExportedUndecorated) {
    HMODULE module = KorvantDll::Module();
    ASSERT_NE(module, nullptr);
    const std::set<std::string> names = ExportedNames(module);
    const char* const expected[] = {
        // POSIX emulation and system utilities
        "getopt", "optarg", "opterr", "optind", "optopt", "getpass", "opendir", "readdir",
        "closedir", "gettimeofday", "times", "uname", "sysconf", "fpathconf", "ftruncate",
        "ftruncate64", "fseeko64", "truncate", "sleep", "sbrk", "strcasecmp", "strncasecmp",
        "unix_nt_stat", "unix_nt_fstat", "unix_nt_utime", "unix_nt_fopen", "unix_nt_rename",
        "unix_nt_unlink", "unix_nt_time", "nt_osinfo", "nt_win32_platform",
        "nt_enter_critical_section", "nt_leave_critical_section", "nt_win32error2errno",
        "nt_get_error_string", "nt_load_resource_dll", "nt_is_terminal_server",
        "nt_is_citrix_metaframe", "nt_get_fs_type", "nt_get_drive_type", "nt_fs_has_acl",
        "nt_set_file_readonly", "nt_get_file_readonly", "nt_unset_file_readonly",
        "nt_set_file_archive", "nt_set_file_hidden", "nt_file_root_split", "nt_sz_to_unicode",
        "nt_get_local_sharename_path", "nt_kernel_to_dosdevice_user_path", "nt_get_dlfs_ioctl_cmd",
        "nt_is_gui_app", "nt_find_vb_resource_app_name", "nt_ob_has_global_prefix", "nt_is_elcc",
        "ntx_cvt_to_ob_pname", "ntx_cvt_to_ob_pname_w", "ntx_my_mac_addresses", "ntx_get_ppid",
        "ntx_ping_host",
        // registry parameter store
        "ntregy_close_key", "ntregy_connect_remote", "ntregy_get_handle", "ntregy_get_value",
        "ntregy_create_value", "ntregy_del_value", "ntregy_del_key", "ntregy_enum_subkeys",
        "ntregy_enum_value", "ntregy_get_param", "ntregy_set_param", "ntregy_del_param",
        "ntregy_get_datatype", "ntregy_get_dlfs_param", "ntregy_set_dlfs_param",
        "ntregy_default_dlfs_param", "ntregy_get_default_param", "ntregy_get_app_param",
        "ntregy_set_app_param", "ntregy_get_app_geometry", "ntregy_set_app_geometry",
        "ntregy_get_common_key", "ntregy_get_common_key_mfc_style", "ntregy_set_product_type",
        "ntregy_get_product_type", "ntregy_get_common_key_modtime",
        "ntregy_modtime_product_info_keys", "ntregy_modtime_vtrgy_keys",
        "ntregy_update_product_info_keys", "ntregy_get_rgy_passwd", "ntregy_set_rgy_passwd",
        "ntregy_del_rgy_svrtype", "ntregy_add_persistent_kiv", "ntregy_remove_persistent_kiv",
        "ntregy_add_to_recent_views", "ntregy_del_from_recent_views", "ntregy_del_vantrel_tree",
        "ntregy_admins_are_privileged",
        // accounts, SIDs and privileges
        "nt_disable_dlfs_privs", "nt_dump_cache", "nt_enable_chown_privileges",
        "nt_enable_dlfs_privs", "nt_get_domain_name", "nt_get_domain_sid", "nt_get_domain_sid_str",
        "nt_get_domain_sid_str_user", "nt_get_enum_sid", "nt_get_impersonation_token",
        "nt_get_logon_luid", "nt_get_pdc_name", "nt_get_primary_group_from_env",
        "nt_get_prioritized_groups_list", "nt_get_sid_str", "nt_get_user_sid",
        "nt_get_user_sid_str", "nt_get_vantrel_group_name", "nt_getgrnam_sid", "nt_getgroup_sid",
        "nt_getgroups_sid", "nt_getgrsid_sid", "nt_getlogin", "nt_getpwnam_sid", "nt_getpwsid_sid",
        "nt_impersonate_user", "nt_init", "nt_is_administrators", "nt_is_chown_privileged",
        "nt_is_domain_sid", "nt_is_domain_user", "nt_is_in_active_directory", "nt_is_privileged",
        "nt_is_privileged_sid_creds", "nt_is_sid_logon_id", "nt_lookup_account_name",
        "nt_public_security_attributes", "nt_restore_chown_privileges", "nt_revert_to_self",
        "nt_set_primary_group_from_env", "nt_sid_name_use_to_str", "nt_sid_to_str", "nt_sid_to_uid",
        "nt_str_to_sid", "nt_user_free_credentials", "nt_user_get_credentials", "ntx_dump_cache",
        "ntx_get_domain_sid_type", "ntx_get_tpo_db_from_lsa", "ntx_get_trusted_posix_offset",
        "ntx_grant_logon_svc", "ntx_in_my_domain", "ntx_rid_to_uid_int", "ntx_set_cached_tpo_db",
        "ntx_sid_to_str", "ntx_trusted_posix_offset_to_domain_sid", "ntx_uid_to_sid",
        "ntx_what_domain",
        // shared-memory persistent hash cache
        "phash_create", "phash_lookup", "phash_enter", "phash_delete", "phash_next",
        "phash_term_scan", "phash_lock", "phash_unlock", "phash_close", "phash_flush_global_tables",
        "phash_flush_private_tables", "phash_display_stats", "phash_str_hash_fn",
        "phash_str_keycmp_fn", "phash_int_hash_fn", "phash_int_keycmp_fn", "phash_sid_hash_fn",
        "phash_sid_keycmp_fn", "shmem_create_area", "shmem_free_area", "shmem_commit_area",
        "shmem_is_area_readonly", "shmem_create_subarea", "shmem_free_subarea",
        "shmem_commit_subarea", "shmem_get_subarea_addr", "shmem_get_subarea_size",
        "shmem_walk_subarea_info", "shmem_lock_area_mutex", "shmem_unlock_area_mutex",
        "shmem_lock_mutex", "shmem_unlock_mutex"};
    for (const char* name : expected) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }
    for (const std::string& name : names) {
        EXPECT_EQ(name.find_first_of("@?"), std::string::npos) << "decorated: " << name;
        EXPECT_NE(name.rfind("korvant_", 0), 0u) << "internal name leaked: " << name;
        EXPECT_NE(name.rfind("_Z", 0), 0u) << "C++ name leaked: " << name;
    }
}

TEST(Exports, DataExportsAreTheVariablesGetoptUses) {
    int* optind = KorvantDll::Data<int>("optind");
    ASSERT_NE(optind, nullptr);
    auto getopt = KorvantDll::Fn<int (*)(int, char* const*, const char*)>("getopt");
    char a0[] = "p", a1[] = "-x", a2[] = "word";
    char* argv[] = {a0, a1, a2, nullptr};
    *optind = 1;
    EXPECT_EQ(getopt(3, argv, "x"), 'x');
    EXPECT_EQ(*optind, 2);
    EXPECT_EQ(getopt(3, argv, "x"), -1);
    *optind = 1;
}

}  // namespace
