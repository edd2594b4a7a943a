/* The calls VTRELNP makes into the product's outside libraries, bound by
   name at first use: libkorvacmd (commands), libkorvaview (views),
   libkorvaxdr (registry-server client), LIBKORVATBS (status texts) and
   libkorvaks (message system). Plain C, cdecl, undecorated names.

   Status values are 0 for success or a product status code that
   tbs_strerror turns into text. */
#ifndef KORVA_OUTSIDE_H
#define KORVA_OUTSIDE_H

#ifdef __cplusplus
extern "C" {
#endif

typedef long korva_status_t;

typedef struct rgy_entry rgy_entry_t;         /* one registry-server entry */
typedef struct rgy_cursor rgy_cursor_t;       /* a walk over entries */
typedef struct rgy_timestamp rgy_timestamp_t; /* the server's change stamp */
typedef struct {
    unsigned char bytes[16];
} rgy_uuid_t;

/* Status codes the provider tells apart. */
#define KORVA_S_OK 0L
#define RGY_S_NO_MORE_ENTRIES 0x00190001L /* a walk has reached its end */
#define RGY_S_NOT_FOUND 0x00190002L       /* the server does not know the entry */
#define RGY_S_SERVER_DOWN 0x00190003L     /* the server could not be reached */

/* Entry kinds and fields. */
#define RGY_KIND_VIEW 1
#define RGY_FIELD_VIEW_TAG 1
#define RGY_FIELD_HOST 2
#define RGY_FIELD_VIEW_UUID 3

/* libkorvacmd */
typedef korva_status_t (*cmd_startview_fn)(int count, const char* const* tags);

/* libkorvaview: 1 when the identity belongs to a work-space entry */
typedef int (*view_ws_is_ws_uuid_fn)(const rgy_uuid_t* uuid);

/* libkorvaxdr */
typedef korva_status_t (*rgy_fetch_default_region_fn)(char* region, unsigned size);
typedef korva_status_t (*rgy_create_timestamp_fn)(const char* region, rgy_timestamp_t** stamp);
typedef korva_status_t (*rgy_check_timestamp_fn)(const char* region, const rgy_timestamp_t* stamp,
                                                 int* changed);
typedef korva_status_t (*rgy_destroy_timestamp_fn)(rgy_timestamp_t* stamp);
/* A walk starts with *cursor null and ends with RGY_S_NO_MORE_ENTRIES. */
typedef korva_status_t (*rgy_get_entry_fn)(const char* region, int kind, rgy_cursor_t** cursor,
                                           rgy_entry_t** entry);
typedef korva_status_t (*rgy_close_cursor_fn)(rgy_cursor_t* cursor);
typedef korva_status_t (*rgy_getstring_from_entry_fn)(const rgy_entry_t* entry, int field,
                                                      char* buffer, unsigned size);
typedef korva_status_t (*rgy_getuuid_from_entry_fn)(const rgy_entry_t* entry, int field,
                                                    rgy_uuid_t* uuid);
/* Points into the entry (valid until it is deleted); null when absent. */
typedef const rgy_uuid_t* (*rgy_getuuid_from_entry_fast_fn)(const rgy_entry_t* entry, int field);
typedef korva_status_t (*rgy_delete_entry_fn)(rgy_entry_t* entry);
typedef korva_status_t (*rgy_findbystring_entry_fn)(const char* region, int kind, int field,
                                                    const char* value, rgy_entry_t** entry);

/* LIBKORVATBS: never null */
typedef const char* (*tbs_strerror_fn)(korva_status_t status);

/* libkorvaks */
typedef korva_status_t (*ks_system_init_fn)(void);
typedef void (*imsg_set_app_name_fn)(const char* name);

#ifdef __cplusplus
}
#endif

#endif
