# Counting: a while loop stepping a counter, then a for loop summing a small term.
proc count_loop {} {
    set count 0
    while {$count < 1000000} {
        incr count
    }
    set sum 0
    for {set i 0} {$i < 300000} {incr i} {
        set sum [expr {$sum + $i % 7}]
    }
    return "$count:$sum"
}
puts [count_loop]
