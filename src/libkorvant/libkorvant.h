/* LIBKORVANT: registry parameters and system utilities of the Vantrel
   product. Plain C exports with undecorated names; results are Win32 error
   codes (0 = success) unless stated. The POSIX-named functions are declared
   in korvant_posix.h. */
#ifndef LIBKORVANT_H
#define LIBKORVANT_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Registry parameter store. Sizes are in/out byte counts. For REG_DWORD
   parameters the data argument of the setters is the number itself. */
LONG ntregy_close_key(HKEY key);
LONG ntregy_connect_remote(const char* machine, HKEY root, PHKEY out);
LONG ntregy_get_handle(HKEY root, const char* path, REGSAM access, PHKEY out);
LONG ntregy_get_value(HKEY root, const char* path, const char* name, void* buffer, LPDWORD size,
                      PHKEY out);
LONG ntregy_create_value(HKEY root, const char* path, const char* name, const void* data,
                         DWORD size, DWORD type, PHKEY out);
LONG ntregy_del_value(HKEY root, const char* path, const char* name);
LONG ntregy_del_key(HKEY root, const char* path);
LONG ntregy_enum_subkeys(HKEY key, DWORD index, char* name, LPDWORD length);
LONG ntregy_enum_value(HKEY key, DWORD index, char* name, LPDWORD nameLength, LPDWORD type,
                       void* data, LPDWORD dataLength);
LONG ntregy_get_param(int index, LPDWORD size, void* buffer, const char* machine);
LONG ntregy_set_param(int index, const void* data, const char* machine);
LONG ntregy_del_param(int index, const char* machine);
DWORD ntregy_get_datatype(int index);
LONG ntregy_get_dlfs_param(int index, void* buffer, LPDWORD size, const char* machine);
LONG ntregy_set_dlfs_param(int index, const void* value, const char* machine);
LONG ntregy_default_dlfs_param(int index, const char* machine);
LONG ntregy_get_default_param(int index, void* buffer, DWORD size);
LONG ntregy_get_app_param(const char* app, const char* name, LPDWORD size, void* buffer,
                          const char* machine);
LONG ntregy_set_app_param(const char* app, const char* name, DWORD type, const void* data,
                          const char* machine);
LONG ntregy_get_app_geometry(const char* app, LONG* x, LONG* y, LONG* width, LONG* height,
                             const char* machine);
LONG ntregy_set_app_geometry(const char* app, LONG x, LONG y, LONG width, LONG height,
                             const char* machine);
const char* ntregy_get_common_key(void);
const char* ntregy_get_common_key_mfc_style(void);
LONG ntregy_set_product_type(const char* company, const char* product, const char* version);
void ntregy_get_product_type(const char** company, const char** product, const char** version);
LONG ntregy_get_common_key_modtime(FILETIME* time, const char* machine);
LONG ntregy_modtime_product_info_keys(FILETIME* time, const char* machine);
LONG ntregy_modtime_vtrgy_keys(FILETIME* time, const char* machine);
LONG ntregy_update_product_info_keys(const char* text, const char* machine);
LONG ntregy_get_rgy_passwd(char* buffer, LPDWORD size, const char* machine);
LONG ntregy_set_rgy_passwd(const char* password, const char* machine);
LONG ntregy_del_rgy_svrtype(const char* machine);
LONG ntregy_add_persistent_kiv(const char* name);
LONG ntregy_remove_persistent_kiv(const char* name);
LONG ntregy_add_to_recent_views(const char* tag);
LONG ntregy_del_from_recent_views(const char* tag);
LONG ntregy_del_vantrel_tree(const char* machine);
int ntregy_admins_are_privileged(void);

/* Platform, locking, errors. */
DWORD nt_osinfo(void);
int nt_win32_platform(void);
void nt_enter_critical_section(void);
void nt_leave_critical_section(void);
int nt_win32error2errno(DWORD error);
char* nt_get_error_string(DWORD code, int source, char* buffer, DWORD size);
HMODULE nt_load_resource_dll(HMODULE module, int flag);
BOOL nt_is_terminal_server(int* adminMode);
BOOL nt_is_citrix_metaframe(void);

/* Files, drives and names. Functions returning int give 0 or a Win32 error
   unless a truth value is stated. */
int nt_get_fs_type(const char* path, char* buffer, DWORD size);
UINT nt_get_drive_type(const char* path);
int nt_fs_has_acl(const char* path);        /* 1, 0, or -1 when unknown */
int nt_get_file_readonly(const char* path); /* 1, 0, or -1 when missing */
int nt_set_file_readonly(const char* path);
int nt_unset_file_readonly(const char* path);
int nt_set_file_archive(const char* path);
int nt_set_file_hidden(const char* path);
int nt_file_root_split(const char* path, char* root, DWORD rootSize, const char** rest);
int nt_sz_to_unicode(const char* text, wchar_t* buffer, DWORD chars); /* chars or -1 */
int nt_get_local_sharename_path(const char* share, char* buffer, DWORD size);
int nt_kernel_to_dosdevice_user_path(const char* kernelPath, char* buffer, DWORD size);
DWORD nt_get_dlfs_ioctl_cmd(int function);
int nt_is_gui_app(const char* path); /* 1, 0, or -1 when unreadable */
int nt_find_vb_resource_app_name(const char* path, char* buffer, DWORD size);
int nt_ob_has_global_prefix(void);
int nt_is_elcc(void);
DWORD ntx_cvt_to_ob_pname(const char* path, char* buffer, DWORD size);
DWORD ntx_cvt_to_ob_pname_w(const wchar_t* path, wchar_t* buffer, DWORD chars);
int ntx_my_mac_addresses(unsigned char (*addresses)[6], int max); /* count or -1 */
DWORD ntx_get_ppid(DWORD pid);                                    /* 0 when unknown */
int ntx_ping_host(const char* host, DWORD timeoutMs);             /* 1 answered */

/* Shared-memory persistent hash cache. Handles are per process. phash_*
   functions answer 1 for success and 0 for failure; a failed call leaves the
   caller to compute the answer without the cache. Keys passed to a table are
   always the table's key size long. */
typedef struct shmem_area* SHMEM_AREA;
typedef struct shmem_subarea* SHMEM_SUBAREA;
typedef struct phash_table* PHASH_HANDLE;
typedef unsigned int (*phash_hash_fn)(const void* key, int keySize);
typedef int (*phash_keycmp_fn)(const void* a, const void* b, int keySize); /* 1 = equal */
/* Slot walk: return 0 to stop. */
typedef int (*shmem_walk_fn)(int index, const char* uuid, DWORD offset, DWORD size, void* context);

SHMEM_AREA shmem_create_area(int global); /* null when it cannot be attached */
void shmem_free_area(SHMEM_AREA area);
int shmem_commit_area(SHMEM_AREA area);
int shmem_is_area_readonly(SHMEM_AREA area);
SHMEM_SUBAREA shmem_create_subarea(SHMEM_AREA area, const char* uuid, DWORD size);
void shmem_free_subarea(SHMEM_SUBAREA subarea);
int shmem_commit_subarea(SHMEM_SUBAREA subarea);
void* shmem_get_subarea_addr(SHMEM_SUBAREA subarea);
DWORD shmem_get_subarea_size(SHMEM_SUBAREA subarea);
int shmem_walk_subarea_info(SHMEM_AREA area, shmem_walk_fn callback, void* context);
int shmem_lock_area_mutex(SHMEM_AREA area);
void shmem_unlock_area_mutex(SHMEM_AREA area);
int shmem_lock_mutex(HANDLE mutex, const char* name);
void shmem_unlock_mutex(HANDLE mutex);

int phash_create(const char* uuid, int capacity, int keySize, int dataSize, phash_hash_fn hash,
                 phash_keycmp_fn keyCmp, const char* name, int global, PHASH_HANDLE* out);
int phash_lookup(PHASH_HANDLE table, const void* key, void* data, int* length);
int phash_enter(PHASH_HANDLE table, const void* key, const void* data, int length);
int phash_delete(PHASH_HANDLE table, const void* key);
int phash_next(PHASH_HANDLE table, void* key, void* data);
void phash_term_scan(PHASH_HANDLE table);
int phash_lock(PHASH_HANDLE table);
void phash_unlock(PHASH_HANDLE table);
void phash_close(PHASH_HANDLE table);
int phash_flush_global_tables(void);
int phash_flush_private_tables(void);
void phash_display_stats(void);
unsigned int phash_str_hash_fn(const void* key, int keySize);
int phash_str_keycmp_fn(const void* a, const void* b, int keySize);
unsigned int phash_int_hash_fn(const void* key, int keySize);
int phash_int_keycmp_fn(const void* a, const void* b, int keySize);
unsigned int phash_sid_hash_fn(const void* key, int keySize);
int phash_sid_keycmp_fn(const void* a, const void* b, int keySize);

/* Accounts, SIDs and privileges. Ids are -1 when a SID has none; results
   described as static are kept per thread and overwritten by the thread's
   next call of the same function. */
#define NT_MAX_SID_SIZE 68
#define NT_MAX_ACCOUNT_NAME 322 /* bytes, terminator included */
#define NT_MAX_DOMAIN_NAME 64   /* characters */

typedef struct {
    DWORD offset; /* not shifted */
    char domainName[68];
    BYTE domainSid[NT_MAX_SID_SIZE];
} NT_TPO_RECORD;

/* What nt_enable_* changed, for the matching restore. A failed enable
   leaves PrivilegeCount 0, which restores nothing. */
typedef struct {
    DWORD PrivilegeCount;
    LUID_AND_ATTRIBUTES Privileges[4];
} NT_PRIV_STATE;

struct nt_passwd {
    char* pw_name; /* qualified name */
    PSID pw_sid;
    PSID pw_gsid; /* primary group, null when unknown */
    char* pw_gecos;
    char* pw_dir;
};

struct nt_group {
    char* gr_name;
    PSID gr_sid;
};

typedef struct {
    int uid;
    int gid;
    int groupCount;
    int* groups;
} NT_CREDENTIALS;

void nt_init(void);
int nt_sid_to_uid(PSID sid);
int ntx_uid_to_sid(int id, PSID* sid); /* 0 and a SID to free(), or -1 */
int ntx_rid_to_uid_int(DWORD rid, PSID domainSid);
int ntx_get_domain_sid_type(PSID domainSid, DWORD* offset); /* kind 0-5 */
DWORD ntx_get_trusted_posix_offset(PSID domainSid, char* domainName /* 65 bytes or null */);
PSID ntx_trusted_posix_offset_to_domain_sid(DWORD offset, NT_TPO_RECORD* record);
int ntx_set_cached_tpo_db(void);
int ntx_get_tpo_db_from_lsa(NT_TPO_RECORD* list, int max); /* count */
int nt_lookup_account_name(const char* name, PSID sid, DWORD* sidSize, char* domain,
                           DWORD* domainSize, SID_NAME_USE* use,
                           char* fullName /* NT_MAX_ACCOUNT_NAME bytes or null */);
PSID nt_get_primary_group_from_env(void);
int nt_set_primary_group_from_env(void);
const char* nt_get_vantrel_group_name(void);
int nt_get_prioritized_groups_list(PSID** groups); /* count */
PSID nt_get_enum_sid(int number);
int nt_is_privileged(void);
int nt_is_privileged_sid_creds(PSID user, PSID* groups, int count);
int nt_is_administrators(void);
int nt_is_chown_privileged(void);
int nt_enable_dlfs_privs(NT_PRIV_STATE* previous);
void nt_disable_dlfs_privs(NT_PRIV_STATE* previous);
int nt_enable_chown_privileges(NT_PRIV_STATE* previous);
void nt_restore_chown_privileges(NT_PRIV_STATE* previous);
struct nt_passwd* nt_getpwnam_sid(const char* name);
struct nt_passwd* nt_getpwsid_sid(PSID sid);
struct nt_group* nt_getgrnam_sid(const char* name);
struct nt_group* nt_getgrsid_sid(PSID sid);
struct nt_group* nt_getgroup_sid(void);    /* the token's primary group */
int nt_getgroups_sid(int max, PSID* list); /* the token's enabled groups */
const char* nt_getlogin(void);
void nt_dump_cache(void);
void ntx_dump_cache(void);
int nt_get_user_sid(PSID buffer, DWORD size); /* 1 or 0 */
int nt_get_user_sid_str(char* buffer, DWORD size);
int nt_get_sid_str(PSID sid, char* buffer, DWORD size);
const char* nt_sid_to_str(PSID sid);
const char* ntx_sid_to_str(PSID sid);
int nt_str_to_sid(const char* text, PSID buffer, DWORD size);
const char* nt_sid_name_use_to_str(int use);
int nt_get_domain_sid(PSID buffer, DWORD size);
int nt_get_domain_sid_str(char* buffer, DWORD size);
int nt_get_domain_sid_str_user(const char* user, char* buffer, DWORD size);
int nt_get_domain_name(char* buffer, DWORD size);
int nt_get_pdc_name(char* buffer, DWORD size);
int nt_is_domain_sid(PSID sid);
int nt_is_domain_user(void);
int nt_is_in_active_directory(void);
int ntx_in_my_domain(PSID sid);
int ntx_what_domain(PSID sid);
int nt_is_sid_logon_id(PSID sid);
HANDLE nt_get_impersonation_token(void);
int nt_impersonate_user(void);
int nt_revert_to_self(void);
int nt_get_logon_luid(DWORD pid /* 0: this process */, LUID* luid);
int nt_user_get_credentials(NT_CREDENTIALS** credentials);
void nt_user_free_credentials(NT_CREDENTIALS* credentials);
SECURITY_ATTRIBUTES* nt_public_security_attributes(void);
DWORD ntx_grant_logon_svc(const char* account);

#ifdef __cplusplus
}
#endif

#endif
