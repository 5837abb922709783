# The code-page files the program embeds: id, file name, size in bytes.
# Written by tools/make_codepages; the adapter maker's files have these sizes too.
set(LUMISK_CODEPAGE_MANIFEST
    151 codepage.950 8
    153 nls_cp950.o 106268
    155 nls_big5.o 1724
    174 nls_cp950.ko 105791
    156 unicode_map.950 262174
    157 codepage.936 8
    158 nls_cp936.o 129244
    159 nls_gb2312.o 1728
    175 nls_cp936.ko 128599
    160 unicode_map.936 262174
    143 codepage.850 132
    145 nls_cp850.o 5020
    179 nls_cp850.ko 5719
    148 unicode_map.850 131614
    161 codepage.932 8
    162 nls_cp932.o 82848
    163 nls_euc-jp.o 6364
    172 nls_sjis.o 1724
    173 nls_cp932.ko 82562
    178 nls_euc-jp.ko 6809
    164 unicode_map.932 262174
    165 codepage.949 8
    166 nls_cp949.o 152216
    167 nls_euc-kr.o 1728
    176 nls_cp949.ko 151405
    168 unicode_map.949 262174
    169 codepage.866 588
    170 nls_cp866.o 5308
    177 nls_cp866.ko 6006
    171 unicode_map.866 588
)
