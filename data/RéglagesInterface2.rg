COM1	1	Zarvo
