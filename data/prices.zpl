tube, 10 cm, black;ZK-001-01;1.45
tube, 10 cm, red;ZK-001-02;1.45
tube, 10 cm, green;ZK-001-03;1.45
tube, 10 cm, blue;ZK-001-04;1.45
tube, 10 cm, yellow;ZK-001-05;1.45
tube, 10 cm, mirror;ZK-001-06;1.74
tube, 10 cm, alu;ZK-001-07;1.60
tube, 10 cm, white;ZK-001-08;1.45
tube, 15 cm, black;ZK-002-01;1.73
tube, 15 cm, red;ZK-002-02;1.73
tube, 15 cm, green;ZK-002-03;1.73
tube, 15 cm, blue;ZK-002-04;1.73
tube, 15 cm, yellow;ZK-002-05;1.73
tube, 15 cm, mirror;ZK-002-06;2.07
tube, 15 cm, alu;ZK-002-07;1.90
tube, 15 cm, white;ZK-002-08;1.73
tube, 25 cm, black;ZK-003-01;2.28
tube, 25 cm, red;ZK-003-02;2.28
tube, 25 cm, green;ZK-003-03;2.28
tube, 25 cm, blue;ZK-003-04;2.28
tube, 25 cm, yellow;ZK-003-05;2.28
tube, 25 cm, mirror;ZK-003-06;2.73
tube, 25 cm, alu;ZK-003-07;2.50
tube, 25 cm, white;ZK-003-08;2.28
tube, 35 cm, black;ZK-004-01;2.83
tube, 35 cm, red;ZK-004-02;2.83
tube, 35 cm, green;ZK-004-03;2.83
tube, 35 cm, blue;ZK-004-04;2.83
tube, 35 cm, yellow;ZK-004-05;2.83
tube, 35 cm, mirror;ZK-004-06;3.39
tube, 35 cm, alu;ZK-004-07;3.11
tube, 35 cm, white;ZK-004-08;2.83
tube, 75 cm, black;ZK-005-01;5.03
tube, 75 cm, red;ZK-005-02;5.03
tube, 75 cm, green;ZK-005-03;5.03
tube, 75 cm, blue;ZK-005-04;5.03
tube, 75 cm, yellow;ZK-005-05;5.03
tube, 75 cm, mirror;ZK-005-06;6.03
tube, 75 cm, alu;ZK-005-07;5.53
tube, 75 cm, white;ZK-005-08;5.03
tube bend, black;ZK-006-01;6.90
tube bend, red;ZK-006-02;6.90
tube bend, green;ZK-006-03;6.90
tube bend, blue;ZK-006-04;6.90
tube bend, yellow;ZK-006-05;6.90
tube bend, mirror;ZK-006-06;8.28
tube bend, alu;ZK-006-07;7.59
tube bend, white;ZK-006-08;6.90
6way connector, black;ZK-007-01;4.90
6way connector, red;ZK-007-02;4.90
6way connector, green;ZK-007-03;4.90
6way connector, blue;ZK-007-04;4.90
6way connector, yellow;ZK-007-05;4.90
6way connector, mirror;ZK-007-06;5.88
6way connector, alu;ZK-007-07;5.39
6way connector, white;ZK-007-08;4.90
5way connector, black;ZK-008-01;4.50
5way connector, red;ZK-008-02;4.50
5way connector, green;ZK-008-03;4.50
5way connector, blue;ZK-008-04;4.50
5way connector, yellow;ZK-008-05;4.50
5way connector, mirror;ZK-008-06;5.40
5way connector, alu;ZK-008-07;4.95
5way connector, white;ZK-008-08;4.50
4way connector, black;ZK-009-01;3.90
4way connector, red;ZK-009-02;3.90
4way connector, green;ZK-009-03;3.90
4way connector, blue;ZK-009-04;3.90
4way connector, yellow;ZK-009-05;3.90
4way connector, mirror;ZK-009-06;4.68
4way connector, alu;ZK-009-07;4.29
4way connector, white;ZK-009-08;3.90
3way connector, black;ZK-010-01;3.20
3way connector, red;ZK-010-02;3.20
3way connector, green;ZK-010-03;3.20
3way connector, blue;ZK-010-04;3.20
3way connector, yellow;ZK-010-05;3.20
3way connector, mirror;ZK-010-06;3.84
3way connector, alu;ZK-010-07;3.52
3way connector, white;ZK-010-08;3.20
cross connector, black;ZK-011-01;3.60
cross connector, red;ZK-011-02;3.60
cross connector, green;ZK-011-03;3.60
cross connector, blue;ZK-011-04;3.60
cross connector, yellow;ZK-011-05;3.60
cross connector, mirror;ZK-011-06;4.32
cross connector, alu;ZK-011-07;3.96
cross connector, white;ZK-011-08;3.60
T connector, black;ZK-012-01;2.90
T connector, red;ZK-012-02;2.90
T connector, green;ZK-012-03;2.90
T connector, blue;ZK-012-04;2.90
T connector, yellow;ZK-012-05;2.90
T connector, mirror;ZK-012-06;3.48
T connector, alu;ZK-012-07;3.19
T connector, white;ZK-012-08;2.90
elbow, black;ZK-013-01;2.40
elbow, red;ZK-013-02;2.40
elbow, green;ZK-013-03;2.40
elbow, blue;ZK-013-04;2.40
elbow, yellow;ZK-013-05;2.40
elbow, mirror;ZK-013-06;2.88
elbow, alu;ZK-013-07;2.64
elbow, white;ZK-013-08;2.40
2way connector, black;ZK-014-01;2.10
2way connector, red;ZK-014-02;2.10
2way connector, green;ZK-014-03;2.10
2way connector, blue;ZK-014-04;2.10
2way connector, yellow;ZK-014-05;2.10
2way connector, mirror;ZK-014-06;2.52
2way connector, alu;ZK-014-07;2.31
2way connector, white;ZK-014-08;2.10
diagonal connector, black;ZK-015-01;3.80
diagonal connector, red;ZK-015-02;3.80
diagonal connector, green;ZK-015-03;3.80
diagonal connector, blue;ZK-015-04;3.80
diagonal connector, yellow;ZK-015-05;3.80
diagonal connector, mirror;ZK-015-06;4.56
diagonal connector, alu;ZK-015-07;4.18
diagonal connector, white;ZK-015-08;3.80
3way hole coupling, black;ZK-016-01;5.20
3way hole coupling, red;ZK-016-02;5.20
3way hole coupling, green;ZK-016-03;5.20
3way hole coupling, blue;ZK-016-04;5.20
3way hole coupling, yellow;ZK-016-05;5.20
3way hole coupling, mirror;ZK-016-06;6.24
3way hole coupling, alu;ZK-016-07;5.72
3way hole coupling, white;ZK-016-08;5.20
2way hole coupling, black;ZK-017-01;4.60
2way hole coupling, red;ZK-017-02;4.60
2way hole coupling, green;ZK-017-03;4.60
2way hole coupling, blue;ZK-017-04;4.60
2way hole coupling, yellow;ZK-017-05;4.60
2way hole coupling, mirror;ZK-017-06;5.52
2way hole coupling, alu;ZK-017-07;5.06
2way hole coupling, white;ZK-017-08;4.60
1way hole coupling, black;ZK-018-01;3.90
1way hole coupling, red;ZK-018-02;3.90
1way hole coupling, green;ZK-018-03;3.90
1way hole coupling, blue;ZK-018-04;3.90
1way hole coupling, yellow;ZK-018-05;3.90
1way hole coupling, mirror;ZK-018-06;4.68
1way hole coupling, alu;ZK-018-07;4.29
1way hole coupling, white;ZK-018-08;3.90
bearing joint, black;ZK-019-01;4.40
bearing joint, red;ZK-019-02;4.40
bearing joint, green;ZK-019-03;4.40
bearing joint, blue;ZK-019-04;4.40
bearing joint, yellow;ZK-019-05;4.40
bearing joint, mirror;ZK-019-06;5.28
bearing joint, alu;ZK-019-07;4.84
bearing joint, white;ZK-019-08;4.40
flexible connector, 1 arm without bolt, black;ZK-020-01;3.60
flexible connector, 1 arm without bolt, red;ZK-020-02;3.60
flexible connector, 1 arm without bolt, green;ZK-020-03;3.60
flexible connector, 1 arm without bolt, blue;ZK-020-04;3.60
flexible connector, 1 arm without bolt, yellow;ZK-020-05;3.60
flexible connector, 1 arm without bolt, mirror;ZK-020-06;4.32
flexible connector, 1 arm without bolt, alu;ZK-020-07;3.96
flexible connector, 1 arm without bolt, white;ZK-020-08;3.60
flexi-bolt, 5 cm, black;ZK-021-01;1.10
flexi-bolt, 5 cm, red;ZK-021-02;1.10
flexi-bolt, 5 cm, green;ZK-021-03;1.10
flexi-bolt, 5 cm, blue;ZK-021-04;1.10
flexi-bolt, 5 cm, yellow;ZK-021-05;1.10
flexi-bolt, 5 cm, mirror;ZK-021-06;1.32
flexi-bolt, 5 cm, alu;ZK-021-07;1.21
flexi-bolt, 5 cm, white;ZK-021-08;1.10
flexi-bolt, 15 cm, black;ZK-022-01;1.90
flexi-bolt, 15 cm, red;ZK-022-02;1.90
flexi-bolt, 15 cm, green;ZK-022-03;1.90
flexi-bolt, 15 cm, blue;ZK-022-04;1.90
flexi-bolt, 15 cm, yellow;ZK-022-05;1.90
flexi-bolt, 15 cm, mirror;ZK-022-06;2.28
flexi-bolt, 15 cm, alu;ZK-022-07;2.09
flexi-bolt, 15 cm, white;ZK-022-08;1.90
panel, for 25 cm x 25 cm, black;ZK-023-01;7.00
panel, for 25 cm x 25 cm, red;ZK-023-02;7.00
panel, for 25 cm x 25 cm, green;ZK-023-03;7.00
panel, for 25 cm x 25 cm, blue;ZK-023-04;7.00
panel, for 25 cm x 25 cm, yellow;ZK-023-05;7.00
panel, for 25 cm x 25 cm, mirror;ZK-023-06;8.40
panel, for 25 cm x 25 cm, alu;ZK-023-07;7.70
panel, for 25 cm x 25 cm, white;ZK-023-08;7.00
panel, for 35 cm x 35 cm, black;ZK-024-01;11.80
panel, for 35 cm x 35 cm, red;ZK-024-02;11.80
panel, for 35 cm x 35 cm, green;ZK-024-03;11.80
panel, for 35 cm x 35 cm, blue;ZK-024-04;11.80
panel, for 35 cm x 35 cm, yellow;ZK-024-05;11.80
panel, for 35 cm x 35 cm, mirror;ZK-024-06;14.16
panel, for 35 cm x 35 cm, alu;ZK-024-07;12.98
panel, for 35 cm x 35 cm, white;ZK-024-08;11.80
panel, for 15 cm x 35 cm, black;ZK-025-01;6.20
panel, for 15 cm x 35 cm, red;ZK-025-02;6.20
panel, for 15 cm x 35 cm, green;ZK-025-03;6.20
panel, for 15 cm x 35 cm, blue;ZK-025-04;6.20
panel, for 15 cm x 35 cm, yellow;ZK-025-05;6.20
panel, for 15 cm x 35 cm, mirror;ZK-025-06;7.44
panel, for 15 cm x 35 cm, alu;ZK-025-07;6.82
panel, for 15 cm x 35 cm, white;ZK-025-08;6.20
panel, for 35 cm x 15 cm, black;ZK-026-01;6.20
panel, for 35 cm x 15 cm, red;ZK-026-02;6.20
panel, for 35 cm x 15 cm, green;ZK-026-03;6.20
panel, for 35 cm x 15 cm, blue;ZK-026-04;6.20
panel, for 35 cm x 15 cm, yellow;ZK-026-05;6.20
panel, for 35 cm x 15 cm, mirror;ZK-026-06;7.44
panel, for 35 cm x 15 cm, alu;ZK-026-07;6.82
panel, for 35 cm x 15 cm, white;ZK-026-08;6.20
Seat-back, for 15 cm x 25 cm, black;ZK-027-01;7.88
Seat-back, for 15 cm x 25 cm, red;ZK-027-02;7.88
Seat-back, for 15 cm x 25 cm, green;ZK-027-03;7.88
Seat-back, for 15 cm x 25 cm, blue;ZK-027-04;7.88
Seat-back, for 15 cm x 25 cm, yellow;ZK-027-05;7.88
Seat-back, for 15 cm x 25 cm, mirror;ZK-027-06;9.45
Seat-back, for 15 cm x 25 cm, alu;ZK-027-07;8.66
Seat-back, for 15 cm x 25 cm, white;ZK-027-08;7.88
display panel, for 35 cm x 35 cm, black;ZK-028-01;15.25
display panel, for 35 cm x 35 cm, red;ZK-028-02;15.25
display panel, for 35 cm x 35 cm, green;ZK-028-03;15.25
display panel, for 35 cm x 35 cm, blue;ZK-028-04;15.25
display panel, for 35 cm x 35 cm, yellow;ZK-028-05;15.25
display panel, for 35 cm x 35 cm, mirror;ZK-028-06;18.30
display panel, for 35 cm x 35 cm, alu;ZK-028-07;16.78
display panel, for 35 cm x 35 cm, white;ZK-028-08;15.25
wooden panel, for 35 cm x 35 cm, black;ZK-029-01;21.15
wooden panel, for 35 cm x 35 cm, red;ZK-029-02;21.15
wooden panel, for 35 cm x 35 cm, green;ZK-029-03;21.15
wooden panel, for 35 cm x 35 cm, blue;ZK-029-04;21.15
wooden panel, for 35 cm x 35 cm, yellow;ZK-029-05;21.15
wooden panel, for 35 cm x 35 cm, mirror;ZK-029-06;25.38
wooden panel, for 35 cm x 35 cm, alu;ZK-029-07;23.27
wooden panel, for 35 cm x 35 cm, white;ZK-029-08;21.15
wooden panel, for 35 cm x 75 cm, black;ZK-030-01;40.75
wooden panel, for 35 cm x 75 cm, red;ZK-030-02;40.75
wooden panel, for 35 cm x 75 cm, green;ZK-030-03;40.75
wooden panel, for 35 cm x 75 cm, blue;ZK-030-04;40.75
wooden panel, for 35 cm x 75 cm, yellow;ZK-030-05;40.75
wooden panel, for 35 cm x 75 cm, mirror;ZK-030-06;48.90
wooden panel, for 35 cm x 75 cm, alu;ZK-030-07;44.83
wooden panel, for 35 cm x 75 cm, white;ZK-030-08;40.75
wooden panel with knob, for 35 cm x 35 cm, black;ZK-031-01;23.65
wooden panel with knob, for 35 cm x 35 cm, red;ZK-031-02;23.65
wooden panel with knob, for 35 cm x 35 cm, green;ZK-031-03;23.65
wooden panel with knob, for 35 cm x 35 cm, blue;ZK-031-04;23.65
wooden panel with knob, for 35 cm x 35 cm, yellow;ZK-031-05;23.65
wooden panel with knob, for 35 cm x 35 cm, mirror;ZK-031-06;28.38
wooden panel with knob, for 35 cm x 35 cm, alu;ZK-031-07;26.02
wooden panel with knob, for 35 cm x 35 cm, white;ZK-031-08;23.65
wooden panel with knob, for 35 cm x 75 cm, black;ZK-032-01;43.25
wooden panel with knob, for 35 cm x 75 cm, red;ZK-032-02;43.25
wooden panel with knob, for 35 cm x 75 cm, green;ZK-032-03;43.25
wooden panel with knob, for 35 cm x 75 cm, blue;ZK-032-04;43.25
wooden panel with knob, for 35 cm x 75 cm, yellow;ZK-032-05;43.25
wooden panel with knob, for 35 cm x 75 cm, mirror;ZK-032-06;51.90
wooden panel with knob, for 35 cm x 75 cm, alu;ZK-032-07;47.58
wooden panel with knob, for 35 cm x 75 cm, white;ZK-032-08;43.25
wooden panel, round, for 35 cm x 35 cm, black;ZK-033-01;19.70
wooden panel, round, for 35 cm x 35 cm, red;ZK-033-02;19.70
wooden panel, round, for 35 cm x 35 cm, green;ZK-033-03;19.70
wooden panel, round, for 35 cm x 35 cm, blue;ZK-033-04;19.70
wooden panel, round, for 35 cm x 35 cm, yellow;ZK-033-05;19.70
wooden panel, round, for 35 cm x 35 cm, mirror;ZK-033-06;23.64
wooden panel, round, for 35 cm x 35 cm, alu;ZK-033-07;21.67
wooden panel, round, for 35 cm x 35 cm, white;ZK-033-08;19.70
metal lattice, for 45 cm x 45 cm, black;ZK-034-01;24.23
metal lattice, for 45 cm x 45 cm, red;ZK-034-02;24.23
metal lattice, for 45 cm x 45 cm, green;ZK-034-03;24.23
metal lattice, for 45 cm x 45 cm, blue;ZK-034-04;24.23
metal lattice, for 45 cm x 45 cm, yellow;ZK-034-05;24.23
metal lattice, for 45 cm x 45 cm, mirror;ZK-034-06;29.07
metal lattice, for 45 cm x 45 cm, alu;ZK-034-07;26.65
metal lattice, for 45 cm x 45 cm, white;ZK-034-08;24.23
wooden bed frame, for 35 cm x 75 cm, black;ZK-035-01;36.88
wooden bed frame, for 35 cm x 75 cm, red;ZK-035-02;36.88
wooden bed frame, for 35 cm x 75 cm, green;ZK-035-03;36.88
wooden bed frame, for 35 cm x 75 cm, blue;ZK-035-04;36.88
wooden bed frame, for 35 cm x 75 cm, yellow;ZK-035-05;36.88
wooden bed frame, for 35 cm x 75 cm, mirror;ZK-035-06;44.25
wooden bed frame, for 35 cm x 75 cm, alu;ZK-035-07;40.56
wooden bed frame, for 35 cm x 75 cm, white;ZK-035-08;36.88
textil, black;ZK-036-01;24.90
textil, red;ZK-036-02;24.90
textil, green;ZK-036-03;24.90
textil, blue;ZK-036-04;24.90
textil, yellow;ZK-036-05;24.90
textil, mirror;ZK-036-06;29.88
textil, alu;ZK-036-07;27.39
textil, white;ZK-036-08;24.90
bag, black;ZK-038-01;19.90
bag, red;ZK-038-02;19.90
bag, green;ZK-038-03;19.90
bag, blue;ZK-038-04;19.90
bag, yellow;ZK-038-05;19.90
bag, mirror;ZK-038-06;23.88
bag, alu;ZK-038-07;21.89
bag, white;ZK-038-08;19.90
multi wheel, black;ZK-039-01;12.50
multi wheel, red;ZK-039-02;12.50
multi wheel, green;ZK-039-03;12.50
multi wheel, blue;ZK-039-04;12.50
multi wheel, yellow;ZK-039-05;12.50
multi wheel, mirror;ZK-039-06;15.00
multi wheel, alu;ZK-039-07;13.75
multi wheel, white;ZK-039-08;12.50
floating wheel, black;ZK-040-01;18.90
floating wheel, red;ZK-040-02;18.90
floating wheel, green;ZK-040-03;18.90
floating wheel, blue;ZK-040-04;18.90
floating wheel, yellow;ZK-040-05;18.90
floating wheel, mirror;ZK-040-06;22.68
floating wheel, alu;ZK-040-07;20.79
floating wheel, white;ZK-040-08;18.90
bearing for multi wheel, black;ZK-041-01;3.30
bearing for multi wheel, red;ZK-041-02;3.30
bearing for multi wheel, green;ZK-041-03;3.30
bearing for multi wheel, blue;ZK-041-04;3.30
bearing for multi wheel, yellow;ZK-041-05;3.30
bearing for multi wheel, mirror;ZK-041-06;3.96
bearing for multi wheel, alu;ZK-041-07;3.63
bearing for multi wheel, white;ZK-041-08;3.30
casters, black;ZK-042-01;7.40
casters, red;ZK-042-02;7.40
casters, green;ZK-042-03;7.40
casters, blue;ZK-042-04;7.40
casters, yellow;ZK-042-05;7.40
casters, mirror;ZK-042-06;8.88
casters, alu;ZK-042-07;8.14
casters, white;ZK-042-08;7.40
steering lock, black;ZK-043-01;2.20
steering lock, red;ZK-043-02;2.20
steering lock, green;ZK-043-03;2.20
steering lock, blue;ZK-043-04;2.20
steering lock, yellow;ZK-043-05;2.20
steering lock, mirror;ZK-043-06;2.64
steering lock, alu;ZK-043-07;2.42
steering lock, white;ZK-043-08;2.20
hub cap, black;ZK-044-01;1.10
hub cap, red;ZK-044-02;1.10
hub cap, green;ZK-044-03;1.10
hub cap, blue;ZK-044-04;1.10
hub cap, yellow;ZK-044-05;1.10
hub cap, mirror;ZK-044-06;1.32
hub cap, alu;ZK-044-07;1.21
hub cap, white;ZK-044-08;1.10
tube cap, black;ZK-045-01;0.45
tube cap, red;ZK-045-02;0.45
tube cap, green;ZK-045-03;0.45
tube cap, blue;ZK-045-04;0.45
tube cap, yellow;ZK-045-05;0.45
tube cap, mirror;ZK-045-06;0.54
tube cap, alu;ZK-045-07;0.50
tube cap, white;ZK-045-08;0.45
adapter, black;ZK-046-01;2.80
adapter, red;ZK-046-02;2.80
adapter, green;ZK-046-03;2.80
adapter, blue;ZK-046-04;2.80
adapter, yellow;ZK-046-05;2.80
adapter, mirror;ZK-046-06;3.36
adapter, alu;ZK-046-07;3.08
adapter, white;ZK-046-08;2.80
remark: open connector end, black;ZK-047-01;0.00
remark: open connector end, red;ZK-047-02;0.00
remark: open connector end, green;ZK-047-03;0.00
remark: open connector end, blue;ZK-047-04;0.00
remark: open connector end, yellow;ZK-047-05;0.00
remark: open connector end, mirror;ZK-047-06;0.00
remark: open connector end, alu;ZK-047-07;0.00
remark: open connector end, white;ZK-047-08;0.00
double tube connector, black;ZK-048-01;1.90
double tube connector, red;ZK-048-02;1.90
double tube connector, green;ZK-048-03;1.90
double tube connector, blue;ZK-048-04;1.90
double tube connector, yellow;ZK-048-05;1.90
double tube connector, mirror;ZK-048-06;2.28
double tube connector, alu;ZK-048-07;2.09
double tube connector, white;ZK-048-08;1.90
tube clamp (pool/lodge), black;ZK-049-01;1.20
tube clamp (pool/lodge), red;ZK-049-02;1.20
tube clamp (pool/lodge), green;ZK-049-03;1.20
tube clamp (pool/lodge), blue;ZK-049-04;1.20
tube clamp (pool/lodge), yellow;ZK-049-05;1.20
tube clamp (pool/lodge), mirror;ZK-049-06;1.44
tube clamp (pool/lodge), alu;ZK-049-07;1.32
tube clamp (pool/lodge), white;ZK-049-08;1.20
alu-profile, 60 cm, black;ZK-050-01;7.20
alu-profile, 60 cm, red;ZK-050-02;7.20
alu-profile, 60 cm, green;ZK-050-03;7.20
alu-profile, 60 cm, blue;ZK-050-04;7.20
alu-profile, 60 cm, yellow;ZK-050-05;7.20
alu-profile, 60 cm, mirror;ZK-050-06;8.64
alu-profile, 60 cm, alu;ZK-050-07;7.92
alu-profile, 60 cm, white;ZK-050-08;7.20
alu-profile, 80 cm, black;ZK-051-01;9.60
alu-profile, 80 cm, red;ZK-051-02;9.60
alu-profile, 80 cm, green;ZK-051-03;9.60
alu-profile, 80 cm, blue;ZK-051-04;9.60
alu-profile, 80 cm, yellow;ZK-051-05;9.60
alu-profile, 80 cm, mirror;ZK-051-06;11.52
alu-profile, 80 cm, alu;ZK-051-07;10.56
alu-profile, 80 cm, white;ZK-051-08;9.60
connector for alu-profiles, 40 cm, black;ZK-052-01;3.40
connector for alu-profiles, 40 cm, red;ZK-052-02;3.40
connector for alu-profiles, 40 cm, green;ZK-052-03;3.40
connector for alu-profiles, 40 cm, blue;ZK-052-04;3.40
connector for alu-profiles, 40 cm, yellow;ZK-052-05;3.40
connector for alu-profiles, 40 cm, mirror;ZK-052-06;4.08
connector for alu-profiles, 40 cm, alu;ZK-052-07;3.74
connector for alu-profiles, 40 cm, white;ZK-052-08;3.40
straight slide without run-out, black;ZK-053-01;89.00
straight slide without run-out, red;ZK-053-02;89.00
straight slide without run-out, green;ZK-053-03;89.00
straight slide without run-out, blue;ZK-053-04;89.00
straight slide without run-out, yellow;ZK-053-05;89.00
straight slide without run-out, mirror;ZK-053-06;106.80
straight slide without run-out, alu;ZK-053-07;97.90
straight slide without run-out, white;ZK-053-08;89.00
curved slide without run-out, black;ZK-055-01;129.00
curved slide without run-out, red;ZK-055-02;129.00
curved slide without run-out, green;ZK-055-03;129.00
curved slide without run-out, blue;ZK-055-04;129.00
curved slide without run-out, yellow;ZK-055-05;129.00
curved slide without run-out, mirror;ZK-055-06;154.80
curved slide without run-out, alu;ZK-055-07;141.90
curved slide without run-out, white;ZK-055-08;129.00
run-out for slide, black;ZK-056-01;34.50
run-out for slide, red;ZK-056-02;34.50
run-out for slide, green;ZK-056-03;34.50
run-out for slide, blue;ZK-056-04;34.50
run-out for slide, yellow;ZK-056-05;34.50
run-out for slide, mirror;ZK-056-06;41.40
run-out for slide, alu;ZK-056-07;37.95
run-out for slide, white;ZK-056-08;34.50
pool large, black;ZK-057-01;59.00
pool large, red;ZK-057-02;59.00
pool large, green;ZK-057-03;59.00
pool large, blue;ZK-057-04;59.00
pool large, yellow;ZK-057-05;59.00
pool large, mirror;ZK-057-06;70.80
pool large, alu;ZK-057-07;64.90
pool large, white;ZK-057-08;59.00
pool small, black;ZK-058-01;39.00
pool small, red;ZK-058-02;39.00
pool small, green;ZK-058-03;39.00
pool small, blue;ZK-058-04;39.00
pool small, yellow;ZK-058-05;39.00
pool small, mirror;ZK-058-06;46.80
pool small, alu;ZK-058-07;42.90
pool small, white;ZK-058-08;39.00
roof cover;ZK-059;45.00
roof cover, large;ZK-060;69.00
