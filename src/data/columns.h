// Named column ordinals of every table, beside the table descriptions of schema.h:
// `data::ycjg::ycdj` is the ordinal of the drug list's price column (2), so a window
// writes `drug.setField(data::ycjg::ycdj, price)` instead of a bare 2. Each table's
// names are listed in its column order; one test checks every list against the
// descriptions in schema.cpp, so the two cannot drift apart.
#pragma once

namespace data {

// Declares namespace `table` holding the enum of its columns and their names in order.
#define CLINIC_COLUMNS(table, ...)                                   \
    namespace table {                                                \
    enum Column : int { __VA_ARGS__ };                               \
    inline constexpr const char* columnNames = #__VA_ARGS__;         \
    }

// Dispensary: drug list, stock balance, stock journal.
CLINIC_COLUMNS(ycjg, ycbm, ycmc, ycdj, jldw, yplb)
CLINIC_COLUMNS(ycyltb, ycbm, rksl, rkje, ycyl)
CLINIC_COLUMNS(yccrtb, crsj, ycbm, ywzy, yccd, ycly, ywph, yxqx, blhm, blks, rksl, rkje, cksl, ckje, xsje,
               jbxm, bgxm)

// Query dictionaries.
CLINIC_COLUMNS(ycgy, ycgy)
CLINIC_COLUMNS(yczz, yczz)
CLINIC_COLUMNS(fjgy, fjgy)
CLINIC_COLUMNS(fjzz, fjzz)
CLINIC_COLUMNS(lcfj, fjlc)
CLINIC_COLUMNS(bzzz, bzzz)
CLINIC_COLUMNS(Cygx, cygy)
CLINIC_COLUMNS(Cyzz, cyzz)

// Knowledge bases.
CLINIC_COLUMNS(zyyc, ycmc, ycgj, ycxw, ycgy, yczz, ycyf, ycyj, ycxd, dlxm)
CLINIC_COLUMNS(zyfj, fjmc, fjgc, fjgy, fjzz, fjyf, fjly, fjxd, dlxm)
CLINIC_COLUMNS(zybz, bzmc, bzqk, bzcy, zlcs, dlxm)
CLINIC_COLUMNS(fjcy, cymc, cygc, cygy, cyzz, cyyf, cyxd, dlxm)
CLINIC_COLUMNS(ylsy, symc, syyt, syjl, syzy, syxd, dlxm, sylb)

// Outpatient clinic.
CLINIC_COLUMNS(hzblzl, blbm, blxm, blxb, blnl, blzy, bldw, blhf, bldz, blte, mail, blsj, bljz, blxd, zldl)
CLINIC_COLUMNS(hzzdzl, blbm, blkb, blsj, bzxy, bzmb, bzhx, bzqk, blfa, blcf, blsx, fzsj, zdys)
CLINIC_COLUMNS(fzzl, blbm, blkb, blsj, blfz, zdys)

// System data row and users.
CLINIC_COLUMNS(xtzlqk, xt001, xt002, xt003, xt004, xt005, xt006, xt007, xt008)
CLINIC_COLUMNS(yckpass, passuser, passwods, passpids)

#undef CLINIC_COLUMNS

}  // namespace data
